#pragma once

namespace quilloa {

// Maps the classic Chinese face names the sheet and printouts use onto fonts that are
// installed: on Debian the Noto CJK and AR PL families. Also makes 宋体 9 pt the default
// face of every window and stock dialog.
class FontSetup
{
public:
    static void install();
};

} // namespace quilloa
