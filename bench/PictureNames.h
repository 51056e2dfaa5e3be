#ifndef KELVO_PICTURENAMES_H
#define KELVO_PICTURENAMES_H

#include <string>
#include <vector>

// The picture names a model file holds, as they are stored (a path of the modeller's machine,
// either separator): the still images of an LWO2 file's clips, or the map file names of a 3D
// Studio file's materials. Used to stage the pictures for the peer comparison; a malformed file
// gives what was found before the fault.
std::vector<std::string> pictureNames(const std::string& bytes, bool lightWave);

#endif
