// Stack pages a worker thread no longer needs, given back before it returns.
#pragma once

namespace sys {

// Called by a thread on its way out, from its outermost frame: the pages of its stack below
// the current frame (all but a small margin the exit path uses) lose their contents and stop
// counting as resident. This Wine zeroes almost a megabyte of every new thread's stack, and the
// stack of the thread that ended last is only freed when another one ends, so each finished
// load would otherwise keep that megabyte. Harmless where the pages were never touched.
void ReleaseUnusedStack();

}  // namespace sys
