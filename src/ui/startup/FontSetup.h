#pragma once

namespace quilloa {

// Maps the classic Chinese face names the sheet and printouts use onto fonts that are
// installed: on Debian the Noto CJK and AR PL families.
class FontSetup
{
public:
    static void install();
};

} // namespace quilloa
