#pragma once
// Where pidfds are not to be had (old kernels, seccomp sandboxes), the end of
// a child is learnt from SIGCHLD instead: the signal makes a pipe readable.

namespace platform {

// The reading end of the pipe that turns readable whenever a child of this
// program has ended; -1 when it cannot be set up. The handler is installed at
// the first call and hands the signal on to any handler that was there.
int ChildEndDescriptor();

// Empties the pipe, so that it turns readable again at the next signal.
void DrainChildEnds();

} // namespace platform
