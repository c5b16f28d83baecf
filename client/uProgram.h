// The sequence Client runs from start to end (kept apart from WinMain so it reads as one).
#pragma once

int RunClientProgram();
