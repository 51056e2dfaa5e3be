#ifndef KELVO_PATHSTATE_H
#define KELVO_PATHSTATE_H

// What a predefined path remembers of one particle; made when the particle is first stepped.
struct PathState {
    PathState(int path, float lastAge) : path(path), lastAge(lastAge) {}

    int path;       // index into the strategy's list of paths
    float lastAge;  // seconds: the particle's age at its previous step
};

#endif
