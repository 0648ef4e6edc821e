#pragma once

// Large pixel stores freed are kept, one at most, for the next Buffer::Alloc of their size, so
// a picture replaced by one of its size takes pages already mapped instead of faulting fresh
// ones in. A store of another size gives the kept one back first, so the peak never grows.
namespace buffers {

// Gives the kept store back (a fresh process, as the first-open benchmarks want it).
void DropSpare();

} // namespace buffers
