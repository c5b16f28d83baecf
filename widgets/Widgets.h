// Makes the UI components known to the form-description reader (with their published
// properties); a program calls it once before it creates its forms.
#pragma once

void RegisterWidgets();
