#ifndef KELVO_BENCHMODELS_H
#define KELVO_BENCHMODELS_H

#include <cstddef>
#include <string>

// Generated model files for the benchmark, each returned as the bytes of one file.

// An LWO2 grid of quads of about targetBytes: every polygon tagged with one of two surfaces by a
// PTAG entry of its own, and a UV per polygon corner (VMAD) that the surfaces' UV-mapped image
// block ("grid.jpg") spreads onto the triangles.
std::string lwoGrid(std::size_t targetBytes);

// A skinned LWO2 actor: a grid of cells × cells quads along x from 0 to bones, and a chain of
// bones along x, one unit each; every point weighted to the two bones nearest to it.
std::string lwoSkinnedActor(int cells, int bones);

// A 3D Studio grid of about targetBytes: objects of at most 128 × 128 cells (a face list counts
// its points in 16 bits), each with mapping coordinates, one material for all faces and
// smoothing groups.
std::string threeDSGrid(std::size_t targetBytes);

// One 3D Studio object of width × height cells, otherwise as threeDSGrid.
std::string threeDSObject(int width, int height);

#endif
