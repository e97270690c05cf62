#include "ui/printing/CupsDefaultPaper.h"

#include <cmath>

namespace quilloa {

namespace {

// IPP gives media sizes and margins in hundredths of a millimetre.
constexpr double kHundredthsPerMillimetre = 100.0;
// Drivers round their sizes to points, so one paper's sizes differ by a few hundredths.
constexpr int kSamePaperHundredths = 100;

struct Media
{
    int width = 0;
    int length = 0;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool sensible() const
    {
        return width > 0 && length > 0 && left >= 0 && top >= 0 && right >= 0 && bottom >= 0 &&
               left + right < width && top + bottom < length;
    }
    bool sameSize(int otherWidth, int otherLength) const
    {
        return std::abs(width - otherWidth) <= kSamePaperHundredths &&
               std::abs(length - otherLength) <= kSamePaperHundredths;
    }
};

int integerMember(ipp_t* collection, const char* name, bool& found)
{
    ipp_attribute_t* attribute = ippFindAttribute(collection, name, IPP_TAG_INTEGER);
    found = found && attribute;
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

std::optional<Media> fromCollection(ipp_t* collection)
{
    ipp_attribute_t* size =
        collection ? ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    if (!size) {
        return std::nullopt;
    }
    ipp_t* dimensions = ippGetCollection(size, 0);
    bool found = true;
    Media media;
    media.width = integerMember(dimensions, "x-dimension", found);
    media.length = integerMember(dimensions, "y-dimension", found);
    media.left = integerMember(collection, "media-left-margin", found);
    media.top = integerMember(collection, "media-top-margin", found);
    media.right = integerMember(collection, "media-right-margin", found);
    media.bottom = integerMember(collection, "media-bottom-margin", found);
    if (!found || !media.sensible()) {
        return std::nullopt;
    }
    return media;
}

const char* defaultMediaName(http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    ipp_attribute_t* media = cupsFindDestDefault(http, dest, info, "media");
    return media ? ippGetString(media, 0, nullptr) : nullptr;
}

// The size a media name stands for, whichever naming scheme it follows.
const pwg_media_t* sizeOfName(const char* name)
{
    if (!name || !*name) {
        return nullptr;
    }
    if (const pwg_media_t* pwg = pwgMediaForPWG(name)) {
        return pwg;
    }
    if (const pwg_media_t* legacy = pwgMediaForLegacy(name)) {
        return legacy;
    }
    return pwgMediaForPPD(name);
}

// Without a default collection: the queue's own list entry of the default name's size. Several
// entries of that size with different strips (borderless, duplex variants) leave it open.
std::optional<Media> fromDatabase(http_t* http, cups_dest_t* dest, cups_dinfo_t* info,
                                  const pwg_media_t& pwg)
{
    std::optional<Media> chosen;
    const int count = cupsGetDestMediaCount(http, dest, info, 0);
    for (int i = 0; i < count; ++i) {
        cups_size_t size{};
        if (!cupsGetDestMediaByIndex(http, dest, info, i, 0, &size)) {
            continue;
        }
        const Media entry{size.width, size.length, size.left, size.top, size.right, size.bottom};
        if (!entry.sameSize(pwg.width, pwg.length) || !entry.sensible()) {
            continue;
        }
        if (chosen && (chosen->left != entry.left || chosen->top != entry.top ||
                       chosen->right != entry.right || chosen->bottom != entry.bottom)) {
            return std::nullopt;
        }
        chosen = entry;
    }
    return chosen;
}

PaperSetup toPaper(const Media& media)
{
    const double h = kHundredthsPerMillimetre;
    PaperSetup paper;
    paper.size = QSizeF(media.width / h, media.length / h);
    paper.unprintable = QMarginsF(media.left / h, media.top / h, media.right / h, media.bottom / h);
    return paper;
}

} // namespace

std::optional<PaperSetup> CupsDefaultPaper::read(http_t* http, cups_dest_t* dest,
                                                 cups_dinfo_t* info)
{
    if (!dest || !info) {
        return std::nullopt;
    }
    const pwg_media_t* named = sizeOfName(defaultMediaName(http, dest, info));
    ipp_attribute_t* collection = cupsFindDestDefault(http, dest, info, "media-col");
    std::optional<Media> media =
        collection ? fromCollection(ippGetCollection(collection, 0)) : std::nullopt;
    if (media) {
        // A name that means another paper than the collection: one of them is wrong.
        if (named && named->width > 0 && !media->sameSize(named->width, named->length)) {
            return std::nullopt;
        }
        return toPaper(*media);
    }
    if (!named || named->width <= 0 || named->length <= 0) {
        return std::nullopt;
    }
    media = fromDatabase(http, dest, info, *named);
    return media ? std::optional<PaperSetup>(toPaper(*media)) : std::nullopt;
}

} // namespace quilloa
