#ifndef SHOWGEN_SCENES_H
#define SHOWGEN_SCENES_H

class ShowFolder;

// The data of each part of the show, under the resource names its scene reads.
void writeOpening(ShowFolder& show);  // the 2D scene's image sequences
void writeGarden(ShowFolder& show);   // the 3D scene: pictures, 3D Studio scene, LightWave object, font
void writeIntro(ShowFolder& show);    // the intro's music, title, group, frame and props
void writeTalk(ShowFolder& show);     // Ki and Ro: idle and talking pictures, voice clips
void writeCredits(ShowFolder& show);  // the end credit pages

#endif
