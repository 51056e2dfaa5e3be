// Makes the data of the bundled show: every picture drawn here from shapes, every sound
// synthesised here, every 3D model built here. Run from the repository root:
//   showgen [folder]    (default: show)
#include <exception>
#include <iostream>

#include "Scenes.h"
#include "ShowFolder.h"

int main(int argc, char** argv)
{
    try {
        ShowFolder show(argc > 1 ? argv[1] : "show");
        writeOpening(show);
        writeGarden(show);
        writeIntro(show);
        writeTalk(show);
        writeCredits(show);
        std::cout << show.fileCount() << " files, " << show.byteCount() << " bytes\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "showgen: " << e.what() << "\n";
        return 1;
    }
}
