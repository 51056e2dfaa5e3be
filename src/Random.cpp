#include "Random.h"

unsigned long Random::state = 1;

void Random::seed(unsigned int value)
{
    state = value;
}

int Random::next()
{
    // The portable generator of the C standard: a 32-bit linear congruence, its bits 16..30.
    state = (state * 1103515245UL + 12345UL) & 0xffffffffUL;
    return static_cast<int>((state / 65536UL) % 32768UL);
}
