#pragma once

namespace quilloa {

// The icons and the user manual are compiled into a static library, whose resources a linker
// drops unless something asks for them; this asks. Safe to call any number of times.
void loadProgramResources();

} // namespace quilloa
