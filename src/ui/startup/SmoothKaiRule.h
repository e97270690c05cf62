#pragma once

namespace quilloa {

// The AR PL faces carry embedded bitmaps for small sizes, so the sheet's 9 pt Kai text is
// drawn from blocky bitmaps on screen. This adds a fontconfig rule, for this program only,
// that draws those faces from their outlines. Printing is unaffected: printouts are made from
// outlines at printer resolution anyway.
class SmoothKaiRule
{
public:
    // Call before the first window is made. False when fontconfig refuses the rule; the
    // program then draws as before.
    static bool install();
    // Whether fontconfig lets `family` at 9 pt on screen be drawn from embedded bitmaps.
    static bool drawsEmbeddedBitmaps(const char* family);
    static const char* rule();
};

} // namespace quilloa
