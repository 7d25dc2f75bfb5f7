// Billboard records and the shadow disc's table without a display: initial values, the setters'
// clamps and refusals, which textures make a billboard drawable, and the circle table's builds.
#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <math.h>

namespace {

TEST(Billboard, StartsWhiteOpaqueSphericalAndUndrawable)
{
    TBillboard *bb = o3DCreateBillboard(0.7f, 0.5f);
    ASSERT_NE(bb, nullptr);
    EXPECT_EQ(bb->width, 0.7f);
    EXPECT_EQ(bb->height, 0.5f);
    EXPECT_EQ(bb->position.x, 0.0f);
    EXPECT_EQ(bb->color.g, 1.0f);
    EXPECT_EQ(bb->alpha, 1.0f);
    EXPECT_EQ(bb->mode, 0);
    EXPECT_EQ(bb->axis.y, 1.0f);
    EXPECT_EQ(bb->texture, nullptr);
    EXPECT_EQ(bb->textureReady, 0);
    EXPECT_EQ(bb->ownsTexture, 0);
    o3DFreeBillboard(bb);
    o3DFreeBillboard(nullptr);
}

TEST(Billboard, SettersClampAndRefuseWhatTheyMust)
{
    TBillboard *bb = o3DCreateBillboard(1.0f, 1.0f);
    ASSERT_NE(bb, nullptr);
    struct Alpha {
        float given, stored;
    } alphas[] = {{0.25f, 0.25f}, {2.0f, 1.0f}, {-0.5f, 0.0f}, {NAN, 0.0f}};
    for (const Alpha &a : alphas) {
        o3DSetBillboardAlpha(bb, a.given);
        EXPECT_EQ(bb->alpha, a.stored) << a.given;
    }
    o3DSetBillboardMode(bb, 2);
    o3DSetBillboardMode(bb, 3);
    o3DSetBillboardMode(bb, -1);
    EXPECT_EQ(bb->mode, 2);
    o3DSetBillboardAxis(bb, 0.0f, 2.0f, 0.0f);
    EXPECT_EQ(bb->axis.y, 2.0f) << "kept without normalising";
    o3DSetBillboardPosition(bb, 1.0f, 2.0f, 3.0f);
    o3DSetBillboardSize(bb, 4.0f, 5.0f);
    o3DSetBillboardColor(bb, 0.1f, 0.2f, 0.3f);
    EXPECT_EQ(bb->position.z, 3.0f);
    EXPECT_EQ(bb->height, 5.0f);
    EXPECT_EQ(bb->color.b, 0.3f);

    TTexture unloaded = {};
    unloaded.colorKeyOn = 1;
    o3DSetBillboardTexture(bb, &unloaded);
    EXPECT_EQ(bb->textureReady, 0) << "a texture that failed to load is not drawn";
    EXPECT_EQ(bb->colorKeyed, 1);
    TTexture loaded = {};
    loaded.loaded = 1;
    o3DSetBillboardTexture(bb, &loaded);
    EXPECT_EQ(bb->textureReady, 1);
    EXPECT_EQ(bb->colorKeyed, 0);
    EXPECT_EQ(bb->ownsTexture, 0);
    o3DSetBillboardTexture(bb, nullptr);
    EXPECT_EQ(bb->textureReady, 0);
    o3DSetBillboardTexture(bb, &loaded);
    o3DFreeBillboard(bb); // a texture handed in is not the billboard's to free
    EXPECT_EQ(loaded.loaded, 1);
}

TEST(ShadowCircle, HoldsEquallySpacedCosinesAndSinesAndRebuildsOnDemand)
{
    o3DFreeShadowCircle();
    const float *circle = o3DGetShadowCircle();
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(o3DGetShadowCircleSegments(), 16);
    for (int i = 0; i < 16; ++i) {
        float angle = 2.0f * (float)i * 3.1415927f / 16.0f;
        EXPECT_FLOAT_EQ(circle[i * 2], cosf(angle));
        EXPECT_FLOAT_EQ(circle[i * 2 + 1], sinf(angle));
    }
    o3DBuildShadowCircle(6);
    EXPECT_EQ(o3DGetShadowCircleSegments(), 6);
    EXPECT_NEAR(o3DGetShadowCircle()[2 * 2], -0.5f, 1e-6f);
    for (int bad : {2, 0, -5, 100000})
        o3DBuildShadowCircle(bad);
    EXPECT_EQ(o3DGetShadowCircleSegments(), 6) << "refused counts keep the table";
    o3DFreeShadowCircle();
    EXPECT_EQ(o3DGetShadowCircleSegments(), 16) << "the next use builds the default again";
    o3DFreeShadowCircle();
}

} // namespace
