// Published properties that only the skin engine reads or writes by name: the check state
// of check boxes, the glyph count and layout of bitmap buttons, the size grip of status
// bars. Registered on demand by the engine; idempotent.
// GUI thread only.
#pragma once

void RegisterSkinReadProperties();
