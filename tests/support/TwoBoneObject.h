#ifndef KELVO_TWOBONEOBJECT_H
#define KELVO_TWOBONEOBJECT_H

#include <string>

class Environment;

// The bytes of an LWO2 object with a skeleton: a bone layer of two bones end to end along x,
// "upper" from -1 to 0 and "lower" (its child) from 0 to 1, and a mesh layer of two 0.4-wide
// squares around y = 0, a green one from x = -0.8 weighted fully to upper and a red one from x = 0.4
// weighted fully to lower (surfaces "Green" and "Red").
std::string twoBoneObject();

// Expects the frames a scene draws of the object standing 5 units in front of its current camera
// (1 unit is then 116 pixels off the window's centre): at 0 s both bones at rest, the green square
// left of the joint and the red one right of it; at 1 s the lower bone turned a quarter turn about
// its start, its red square now above the joint. The pixels looked at lie beside the white lines
// the bones draw.
void expectTwoBoneFrames(Environment& scene);

#endif
