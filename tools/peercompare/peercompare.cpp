// Median milliseconds of five loads of each model file named on the command line by Irrlicht's
// NULL driver (getMesh, the mesh cache cleared between loads), one line per file as the engine's
// benchmark prints them with --files: "<file>\t<ms>" or "<file>\tfailed".
#include <irrlicht.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    irr::IrrlichtDevice* device = irr::createDevice(irr::video::EDT_NULL);
    if (!device)
        return 1;
    device->getLogger()->setLogLevel(irr::ELL_NONE);
    irr::scene::ISceneManager* scene = device->getSceneManager();
    for (int i = 1; i < argc; ++i) {
        std::vector<double> times;
        bool failed = false;
        for (int run = 0; run < 5 && !failed; ++run) {
            const auto start = std::chrono::steady_clock::now();
            irr::scene::IAnimatedMesh* mesh = scene->getMesh(argv[i]);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            failed = mesh == nullptr;
            scene->getMeshCache()->clear();
            device->getVideoDriver()->removeAllTextures();
        }
        std::sort(times.begin(), times.end());
        if (failed)
            std::printf("%s\tfailed\n", argv[i]);
        else
            std::printf("%s\t%.4f\n", argv[i], times[times.size() / 2]);
    }
    device->drop();
    return 0;
}
