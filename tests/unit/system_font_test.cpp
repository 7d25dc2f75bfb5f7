// System-font rules that need no GL context: creation without a window, what measuring and the
// font height read, how either kind routes, and freeing once. The platform's font is a fake.
#include "ostrel3d.h"
#include "platform/seam.h"

#include "fake_platform.h"
#include "font_fixture.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <string>

// fontconfig keeps the default configuration it loads on first use until the process ends; the
// leak checker of the sanitizer build would count that against the platform-font test.
extern "C" const char *__lsan_default_suppressions(void)
{
    return "leak:libfontconfig\n";
}

namespace {

class SystemFont : public ::testing::Test {
  protected:
    TFont font = {};

    void SetUp() override
    {
        installFakePlatform();
        installFakeFontSeam();
    }
    void TearDown() override
    {
        platformResetSeam();
    }
    // A system font as creation leaves it, without display lists (list base 0).
    void fakeLoadedSystemFont(int size)
    {
        font = TFont();
        font.kind = 0;
        font.size = size;
        font.deviceContext = &gFakeFontToken;
        font.loaded = 1;
    }
};

TEST_F(SystemFont, CreationWithoutAWindowFailsButKeepsNameAndSize)
{
    font.loaded = 1;
    font.kind = 1;
    std::string longName(300, 'f');
    EXPECT_EQ(o3DCreateSystemFont(&font, longName.c_str(), 18, 700, 1), 0);
    EXPECT_EQ(gFakeFont.createCalls, 0);
    EXPECT_EQ(font.loaded, 0);
    EXPECT_EQ(font.kind, 0);
    EXPECT_EQ(font.size, 18);
    EXPECT_EQ(std::string(font.faceName), std::string(255, 'f'));
    EXPECT_EQ(font.deviceContext, nullptr);
    EXPECT_EQ(font.listBase, 0u);

    EXPECT_EQ(o3DCreateSystemFont(&font, nullptr, 12, 400, 0), 0);
    EXPECT_EQ(font.faceName[0], '\0');
    EXPECT_EQ(o3DCreateSystemFont(nullptr, "Arial", 12, 400, 0), 0);
}

TEST_F(SystemFont, MeasuringAsksThePlatformOnlyForALoadedSystemFont)
{
    fakeLoadedSystemFont(20);
    EXPECT_EQ(o3DMeasureSystemText(&font, "abc"), 21);
    EXPECT_EQ(o3DGetTextWidth(&font, "abcd"), 28);
    EXPECT_EQ(o3DGetTextWidth(&font, ""), 0);
    EXPECT_EQ(o3DMeasureSystemText(&font, nullptr), 0);
    EXPECT_EQ(o3DGetFontHeight(&font), 20);
    EXPECT_EQ(o3DMeasureText(&font, "abc"), 0) << "the bitmap measure refuses a system font";
    int asked = gFakeFont.measureCalls;

    font.deviceContext = nullptr;
    EXPECT_EQ(o3DMeasureSystemText(&font, "abc"), 0);
    font.deviceContext = &gFakeFontToken;
    font.loaded = 0;
    EXPECT_EQ(o3DMeasureSystemText(&font, "abc"), 0);
    EXPECT_EQ(o3DGetTextWidth(&font, "abc"), 0);
    EXPECT_EQ(o3DGetFontHeight(&font), 0);
    font.loaded = 1;
    font.kind = 1;
    EXPECT_EQ(o3DMeasureSystemText(&font, "abc"), 0);
    EXPECT_EQ(gFakeFont.measureCalls, asked);
    EXPECT_EQ(o3DMeasureSystemText(nullptr, "abc"), 0);
    EXPECT_EQ(o3DGetFontHeight(nullptr), 0);
}

TEST_F(SystemFont, FreeingReleasesThePlatformFontOnce)
{
    fakeLoadedSystemFont(20);
    o3DFreeFont(&font);
    EXPECT_EQ(gFakeFont.releaseCalls, 1);
    EXPECT_EQ(gFakeFont.lastReleased, &gFakeFontToken);
    EXPECT_EQ(font.deviceContext, nullptr);
    EXPECT_EQ(font.loaded, 0);
    o3DFreeFont(&font);
    EXPECT_EQ(gFakeFont.releaseCalls, 1);

    // A record that never loaded is left alone, handle and all.
    fakeLoadedSystemFont(20);
    font.loaded = 0;
    o3DFreeFont(&font);
    EXPECT_EQ(gFakeFont.releaseCalls, 1);
    EXPECT_EQ(font.deviceContext, &gFakeFontToken);
    o3DFreeFont(nullptr);
}

// The platform's own font with the heights a caller may pass at the ends of the int range:
// INT_MIN has no negation in int, so the backend must widen before it asks for a cell height.
// Neighbouring heights out there are both held to the platform's largest size, so they agree.
TEST(SystemFontHeights, HeightsAtTheEndsOfTheIntRangeAreTakenWithoutOverflow)
{
    platformResetSeam();
    struct Case {
        int size, sameAs;
    } cases[] = {{INT_MIN, INT_MIN + 1}, {INT_MAX, INT_MAX - 1}};
    for (const Case &c : cases) {
        void *first = kNativeFontSeam.create("DejaVu Sans", c.size, 400, 0, 1);
        void *second = kNativeFontSeam.create("DejaVu Sans", c.sameAs, 400, 0, 1);
        EXPECT_EQ(first != nullptr, second != nullptr) << c.size << " and " << c.sameAs;
        if (first && second) {
            EXPECT_EQ(kNativeFontSeam.measure(first, "Wide text"),
                      kNativeFontSeam.measure(second, "Wide text"))
                << c.size << " and " << c.sameAs;
        }
        kNativeFontSeam.release(first);
        kNativeFontSeam.release(second);
    }
}

} // namespace
