#include "startup/SmoothKaiRule.h"

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
