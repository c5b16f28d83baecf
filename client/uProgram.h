// The sequence Client runs from start to end (kept apart from WinMain so it reads as one).
// Contract: called once, from WinMain on the GUI thread; the application object, its windows
// and the settings unit's globals are gone when it returns.
#pragma once

int RunClientProgram();
