// Writes the short film the sound_and_video end-to-end test plays: FILE, 160 x 120, 12 frames a
// second for `seconds`, a magenta picture with a white band that moves down frame by frame, and a
// silent sound track.
//
//   make_film FILE SECONDS
#include "avi_writer.h"

#include <stdlib.h>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    AviFilm film;
    film.width = 160;
    film.height = 120;
    film.framesPerSecond = 12;
    film.frames = atoi(argv[2]) * film.framesPerSecond;
    film.colourAt = [](int frame, int, int y) {
        return (y / 10) % 12 == frame % 12 ? AviColour{255, 255, 255} : AviColour{200, 40, 120};
    };
    return film.frames > 0 && writeAvi(argv[1], film) ? 0 : 1;
}
