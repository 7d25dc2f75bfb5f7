// Writes bitmap-font fixtures: metrics files from their lines (so a test shows what the file
// says) and a fake font seam that records what the engine asks of the platform.
#ifndef O3D_TESTS_FONT_FIXTURE_H
#define O3D_TESTS_FONT_FIXTURE_H

#include "platform/seam.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

// Writes the bytes as they are (no line-end translation). True on success.
inline bool writeTextFile(const std::string &path, const std::string &contents)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    return fclose(file) == 0 && ok;
}

// "METRICS1", the sheet's name, the header number, then the glyph lines, each ended by a LF.
inline std::string metricsText(const std::string &sheetName,
                               const std::vector<std::string> &glyphLines,
                               const std::string &header = "METRICS1",
                               const std::string &number = "16")
{
    std::string text = header + "\n" + sheetName + "\n" + number + "\n";
    for (const std::string &line : glyphLines)
        text += line + "\n";
    return text;
}

// A font seam that makes no real font: it hands out a token, measures 7 pixels per byte and
// counts what it was asked.
struct FakeFontSeam {
    int createCalls = 0, measureCalls = 0, releaseCalls = 0;
    int createSucceeds = 1;
    int pixelsPerByte = 7;
    unsigned int lastListBase = 0;
    std::string lastFace;
    int lastSize = 0, lastWeight = 0, lastItalic = 0;
    void *lastReleased = nullptr;
};

inline FakeFontSeam gFakeFont;
inline int gFakeFontToken;

inline void *fakeFontCreate(const char *face, int size, int weight, int italic,
                            unsigned int listBase)
{
    ++gFakeFont.createCalls;
    gFakeFont.lastFace = face ? face : "";
    gFakeFont.lastSize = size;
    gFakeFont.lastWeight = weight;
    gFakeFont.lastItalic = italic;
    gFakeFont.lastListBase = listBase;
    return gFakeFont.createSucceeds ? &gFakeFontToken : nullptr;
}

inline int fakeFontMeasure(void *, const char *text)
{
    ++gFakeFont.measureCalls;
    return text ? (int)strlen(text) * gFakeFont.pixelsPerByte : 0;
}

inline void fakeFontRelease(void *handle)
{
    ++gFakeFont.releaseCalls;
    gFakeFont.lastReleased = handle;
}

// Resets the counters and puts the fake into gFontSeam; platformResetSeam() undoes it.
inline void installFakeFontSeam(void)
{
    gFakeFont = FakeFontSeam();
    gFontSeam.create = fakeFontCreate;
    gFontSeam.measure = fakeFontMeasure;
    gFontSeam.release = fakeFontRelease;
}

#endif
