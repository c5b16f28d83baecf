// A system function from a library that is loaded on the first call, not at start-up: for
// libraries only some later action needs (dialogs, sound), whose loading would otherwise
// delay the first window. The library stays loaded for the rest of the run. Any thread.
#pragma once
#include <windows.h>

// The function `name` of `library` as the pointer type `Fn` (e.g. decltype(&ChooseColorA)),
// or nullptr when the library or the function is missing.
template <typename Fn>
Fn LateBound(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
