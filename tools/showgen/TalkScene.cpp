#include "Scenes.h"

#include <string>
#include <vector>

#include "Audio.h"
#include "Characters.h"
#include "Drawing.h"
#include "Random.h"
#include "ShowFolder.h"
#include "Sound.h"

// The talking scene multiplies its white background by each picture, so the characters stand on
// white. Idle pictures alternate once a second; talking ones flip through mouth shapes.
namespace {
const Mouth TALKING[] = {Mouth::Small, Mouth::Wide, Mouth::Closed, Mouth::Round};

typedef void (*DrawCharacter)(Canvas&, const Place&, const Pose&, const Palette&);

// look: where the character looks while idle, towards the other one. shift: how far the figure
// stands right of the picture's middle (local units), to keep it on screen where its scene puts it.
std::vector<Canvas> characterFrames(DrawCharacter draw, const Palette& colours, bool talking, double look,
                                    double shift)
{
    return drawFrames(talking ? 4 : 2, [&](int frame) {
        Canvas canvas(SPRITE_SIZE, SPRITE_SIZE);
        const Place view = spriteView(canvas);
        // Feet just above the bottom edge, the figure a little larger than its own units.
        const Place place = view.moved({shift, -0.94}).scaled(1.1).moved({0.0, 1.0});
        Pose pose;
        if (talking) {
            pose.mouth = TALKING[frame];
            pose.look = look * 0.5;
            pose.lift = frame % 2 == 1 ? 0.015 : 0.0;
        } else {
            pose.look = frame == 0 ? look : 0.0;
            pose.lift = frame == 1 ? -0.01 : 0.0;
        }
        draw(canvas, place, pose, colours);
        return canvas;
    });
}

void writeClips(ShowFolder& show, const std::string& prefix, const VoiceProfile& voice,
                const std::vector<double>& seconds, uint32_t seed)
{
    Random random(seed);
    for (size_t i = 0; i < seconds.size(); ++i)
        show.wav(prefix + std::to_string(i + 1) + ".wav", babble(voice, seconds[i], random));
}
}

void writeTalk(ShowFolder& show)
{
    // Ki's picture is centred far left, partly beyond the window's edge: Ki stands right of its middle.
    show.pictures("ki/idle/b0", characterFrames(drawKi, KI_COLOURS, false, 1.0, 0.22));
    show.pictures("ki/talk/b0", characterFrames(drawKi, KI_COLOURS, true, 1.0, 0.22));
    show.pictures("ro/idle/b0", characterFrames(drawRo, RO_COLOURS, false, -1.0, 0.1));
    show.pictures("ro/talk/b0", characterFrames(drawRo, RO_COLOURS, true, -1.0, 0.1));
    writeClips(show, "ki/wavs/Keplo", KI_VOICE, {0.7, 1.1, 1.5, 1.9}, 101u);
    writeClips(show, "ro/wavs/Zarpo", RO_VOICE, {0.8, 1.3, 1.8}, 202u);
}
