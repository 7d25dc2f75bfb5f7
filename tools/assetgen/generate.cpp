// The whole data set in one call, and the contact sheet that shows every picture of it.
#include "assetgen.h"

int makeAllAssets(AssetList *out, const char *fontPath)
{
    TextFace *face = openTextFace(fontPath);
    if (!face)
        return 0;
    makeHeightmap(out);
    makeSnowTexture(out);
    makeSkyFaces(out);
    makeOverlayImages(out, face);
    makeFonts(out, face);
    makeTree(out);
    makeGun(out);
    makeBeast(out);
    makeSounds(out);
    makeFilm(out, face);
    closeTextFace(face);
    return 1;
}

Image contactSheet(const AssetList &assets, TextFace *face)
{
    const int cell = 168, thumb = 150, columns = 6;
    std::vector<const Asset *> pictures;
    for (const Asset &a : assets)
        if (a.name.size() > 4 && a.name.compare(a.name.size() - 4, 4, ".bmp") == 0)
            pictures.push_back(&a);
    const int rows = ((int)pictures.size() + columns - 1) / columns;
    Image sheet(cell * columns, (cell + 14) * rows, {40, 44, 52});
    for (size_t i = 0; i < pictures.size(); ++i) {
        Image picture;
        if (!readBmp(pictures[i]->bytes, &picture))
            continue;
        const int ox = (int)(i % columns) * cell + (cell - thumb) / 2;
        const int oy = (int)(i / columns) * (cell + 14) + 6;
        // Fit the longer side to the thumbnail, nearest sample.
        const int longer = picture.width > picture.height ? picture.width : picture.height;
        const int w = picture.width * thumb / longer, h = picture.height * thumb / longer;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                sheet.set(ox + x, oy + y,
                          picture.get(x * picture.width / w, y * picture.height / h));
        std::vector<uint8_t> label((size_t)cell * 16, 0);
        drawTextMask(face, 11, pictures[i]->name.c_str(), 2, 12, &label, cell, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < cell; ++x)
                sheet.blend(ox - (cell - thumb) / 2 + x, oy + thumb + 2 + y, {235, 235, 235},
                            label[(size_t)y * cell + x] / 255.0f);
    }
    return sheet;
}
