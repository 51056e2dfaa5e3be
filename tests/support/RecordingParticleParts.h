#ifndef KELVO_RECORDINGPARTICLEPARTS_H
#define KELVO_RECORDINGPARTICLEPARTS_H

#include <string>
#include <utility>
#include <vector>

#include "ParticleSystem.h"
#include "ParticleVisualisation.h"
#include "Trace.h"

// What a particle system drew, in order: one entry per render call of the recording
// visualisations and traces below, naming the emitter whose ring it was.
class ParticleJournal {
public:
    struct Entry {
        std::string renderer;  // the visualisation's or trace's name
        std::string emittor;   // "<system>.<emitter>", or "?" for a ring of no watched system
        int count;             // particles in the ring (1 for a trace's single particle)
        Vector first;          // position of the first particle drawn, (0, 0, 0) when none was
        std::vector<int> ringSizes;  // every watched emitter's particle count at that moment, in watch order
    };

    void watch(ParticleSystem* system, const std::string& name) { systems.push_back(std::make_pair(name, system)); }

    // first: the first particle drawn, or null.
    void record(const std::string& renderer, RingBuffer<Particle>* ring, int count, const Particle* first)
    {
        Entry entry{renderer, "?", count, first != nullptr ? first->position : Vector(), {}};
        for (const auto& watched : systems)
            for (const auto& emittor : watched.second->getComponents()) {
                if (emittor.second->getParticles() == ring)
                    entry.emittor = watched.first + "." + emittor.first;
                entry.ringSizes.push_back(emittor.second->getParticles()->size());
            }
        entries.push_back(entry);
    }

    // "<renderer> <emitter>" per entry.
    std::vector<std::string> calls() const
    {
        std::vector<std::string> result;
        for (const Entry& entry : entries)
            result.push_back(entry.renderer + " " + entry.emittor);
        return result;
    }

    std::vector<Entry> entries;

private:
    std::vector<std::pair<std::string, ParticleSystem*>> systems;
};

// A visualisation that draws nothing and writes each renderAll into a journal.
class RecordingVisualisation : public ParticleVisualisation {
public:
    explicit RecordingVisualisation(ParticleJournal& journal) : journal(journal) {}

    void renderAt(Particle*, const Vector&) override {}
    void renderParticle(Particle*) override {}
    void renderAll(RingBuffer<Particle>* ring) override
    {
        journal.record(getName(), ring, ring->size(), ring->size() > 0 ? (*ring)[0] : nullptr);
    }

private:
    ParticleJournal& journal;
};

// A trace that writes each particle it is given into a journal, and reports its deletion.
class RecordingTrace : public Trace {
public:
    RecordingTrace(ParticleSystem* owner, ParticleJournal& journal, bool* deleted = nullptr)
        : Trace(owner), journal(journal), deleted(deleted), last(nullptr)
    {
    }
    ~RecordingTrace() override
    {
        if (deleted != nullptr)
            *deleted = true;
    }

    void renderAll(RingBuffer<Particle>* ring) override
    {
        last = ring;
        Trace::renderAll(ring);
    }
    void renderParticle(Particle* particle) override { journal.record(getName(), last, 1, particle); }

private:
    ParticleJournal& journal;
    bool* deleted;
    RingBuffer<Particle>* last;  // the ring being drawn
};

#endif
