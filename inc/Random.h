#ifndef KELVO_RANDOM_H
#define KELVO_RANDOM_H

// The engine's one pseudo-random generator, 0 to 32767 like the classic C rand, whatever the C
// library's range. Seeded once at start-up from the calendar time; tests seed it themselves.
class Random {
public:
    static const int MAX = 32767;

    static void seed(unsigned int value);
    static int next();  // 0 .. MAX

private:
    static unsigned long state;
};

#endif
