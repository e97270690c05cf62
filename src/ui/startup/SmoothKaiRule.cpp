#include "ui/startup/SmoothKaiRule.h"

#include <fontconfig/fontconfig.h>

namespace quilloa {

bool SmoothKaiRule::install()
{
    FcConfig* config = FcConfigGetCurrent();
    if (!config)
        return false;
    return FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(rule()),
                                          FcTrue) == FcTrue;
}

bool SmoothKaiRule::drawsEmbeddedBitmaps(const char* family)
{
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddDouble(pattern, FC_PIXEL_SIZE, 12.0);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcBool bitmaps = FcTrue; // fontconfig's own default
    if (match)
        FcPatternGetBool(match, FC_EMBEDDED_BITMAP, 0, &bitmaps);
    FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return bitmaps == FcTrue;
}

const char* SmoothKaiRule::rule()
{
    return R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <match target="font">
    <test name="family" compare="contains"><string>AR PL UKai</string></test>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
  <match target="font">
    <test name="family" compare="contains"><string>AR PL UMing</string></test>
    <edit name="embeddedbitmap" mode="assign"><bool>false</bool></edit>
  </match>
</fontconfig>
)";
}

} // namespace quilloa
