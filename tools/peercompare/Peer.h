#ifndef KELVO_PEERCOMPARE_PEER_H
#define KELVO_PEERCOMPARE_PEER_H

#include <memory>
#include <string>

// One peer library's side of the load comparison: what peercompare.cpp times for each file.
class Peer {
public:
    virtual ~Peer() = default;
    // Set up once for the file's format before its first load, outside the clock (a plugin the
    // library would otherwise open inside its first load).
    virtual void prepare(const std::string& file) { (void)file; }
    // Parses the file into the library's in-memory mesh or scene, which the peer keeps until
    // release(); false when the library refuses the file.
    virtual bool load(const std::string& file) = 0;
    // Triangles of what the last load made (counted outside the clock).
    virtual long triangles() = 0;
    // Frees what the last load made (outside the clock).
    virtual void release() = 0;
};

// The peer this program is built with (one source file per library).
std::unique_ptr<Peer> makePeer();

#endif
