#ifndef KELVO_ALLOCATIONCOUNTER_H
#define KELVO_ALLOCATIONCOUNTER_H

// Every operator new of the program since it started: the benchmark's global operator new
// counts each call, so the difference over a frame is the heap allocations the frame made.
long allocationCount();

#endif
