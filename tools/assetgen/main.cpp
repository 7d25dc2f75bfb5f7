// assetgen: writes every asset the game reads into a folder, the same bytes on every run.
//
//   assetgen OUT_DIR [--font FILE.ttf] [--preview SHEET.bmp]
//
// OUT_DIR must exist. --preview also writes a contact sheet of every picture.
#include "assetgen.h"

#include <stdio.h>
#include <string.h>

static int writeFile(const std::string &path, const Bytes &bytes)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    const int written = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (fclose(f) == 0) && written;
}

int main(int argc, char **argv)
{
    const char *outDir = nullptr, *font = ASSETGEN_DEFAULT_FONT, *preview = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--font") == 0 && i + 1 < argc)
            font = argv[++i];
        else if (strcmp(argv[i], "--preview") == 0 && i + 1 < argc)
            preview = argv[++i];
        else if (!outDir && argv[i][0] != '-')
            outDir = argv[i];
        else
            outDir = nullptr, i = argc;
    }
    if (!outDir) {
        fprintf(stderr, "usage: assetgen OUT_DIR [--font FILE.ttf] [--preview SHEET.bmp]\n");
        return 2;
    }
    AssetList assets;
    if (!makeAllAssets(&assets, font)) {
        fprintf(stderr, "assetgen: cannot open the font %s (install fonts-dejavu-core)\n", font);
        return 1;
    }
    size_t total = 0;
    for (const Asset &a : assets) {
        const std::string path = std::string(outDir) + "/" + a.name;
        if (!writeFile(path, a.bytes)) {
            fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
        total += a.bytes.size();
    }
    printf("assetgen: %d files, %zu bytes in %s\n", (int)assets.size(), total, outDir);
    if (preview) {
        TextFace *face = openTextFace(font);
        const int ok = face && writeFile(preview, bmpBytes(contactSheet(assets, face)));
        closeTextFace(face);
        if (!ok) {
            fprintf(stderr, "assetgen: cannot write %s\n", preview);
            return 1;
        }
    }
    return 0;
}
