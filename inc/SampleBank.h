#ifndef KELVO_SAMPLEBANK_H
#define KELVO_SAMPLEBANK_H

#include <string>
#include <vector>

struct Mix_Chunk;
class SoundEngine;

// A named set of short clips loaded from numbered files (prefix1.ext, prefix2.ext, ...), one of
// which at a time is picked at random, measured and played. Banks live in the sound engine's
// registry for the whole run. An empty bank picks nothing, lasts 0 s and plays nothing.
class SampleBank {
public:
    SampleBank();
    // Built by the engine's registry from its owner: the engine is set at once.
    explicit SampleBank(SoundEngine* owner);
    virtual ~SampleBank();
    SampleBank(const SampleBank&) = delete;
    SampleBank& operator=(const SampleBank&) = delete;

    void setName(const std::string& name);
    std::string getName() const;
    void setSoundEngine(SoundEngine* engine);

    // Appends the clips of the numbered files until the first one that is missing or fails to load.
    void loadSamples(const std::string& prefix, const std::string& extension);
    int getSampleCount() const;

    void pickRandomSample();
    double getSampleDuration() const;  // seconds
    void play();

private:
    std::vector<Mix_Chunk*> samples;  // owned; in file-number order
    int currentIndex;                 // the clip that getSampleDuration and play use
    SoundEngine* engine;              // not owned
    std::string name;
};

#endif
