// Light slots without a display: the setters only change engine memory (OpenGL sees a slot when it
// is enabled, which the GL tests check), so every case here runs without a context.
#include "ostrel3d.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

void expectVec(TVector3 v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

void expectColour(TColor c, float r, float g, float b)
{
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
}

// A slot filled with values no setter writes, so a test sees which fields a setter leaves alone.
void fillMarked(int index)
{
    TLight *light = o3DGetLight(index);
    ASSERT_NE(light, nullptr);
    light->enabled = 7;
    light->type = 9;
    light->position = o3DVector3(5, 6, 7);
    light->direction = o3DVector3(8, 9, 10);
    light->constantAttenuation = 11;
    light->linearAttenuation = 12;
    light->quadraticAttenuation = 13;
    light->spotCutoff = 14;
    light->spotExponent = 15;
}

} // namespace

// First among the light tests, so no other has written a slot yet (the program runs whole under
// Wine); natively each case runs in a process of its own.
TEST(Light, EverySlotIsZeroUntilTheRendererStarts)
{
    static const TLight zero = {};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(memcmp(o3DGetLight(i), &zero, sizeof(TLight)), 0) << i;
}

TEST(Light, SlotsExistOnlyFromZeroToSeven)
{
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(o3DGetLight(i), nullptr) << i;
    EXPECT_NE(o3DGetLight(0), o3DGetLight(1));
    EXPECT_EQ(o3DGetLight(-1), nullptr);
    EXPECT_EQ(o3DGetLight(8), nullptr);
    EXPECT_EQ(o3DGetLight(1 << 30), nullptr);
}

TEST(Light, SettersOutsideTheSlotsChangeNothing)
{
    TLight before[8];
    for (int i = 0; i < 8; ++i)
        memcpy(&before[i], o3DGetLight(i), sizeof(TLight));
    for (int index : {-1, 8, -100, 1 << 30}) {
        o3DSetDirectionalLight(index, 1, 0, 0, 1, 1, 1, 1, 1, 1);
        o3DSetPointLight(index, 1, 2, 3, 1, 1, 1, 1, 1, 1);
        o3DSetSpotLight(index, 1, 2, 3, 0, 0, -1, 30, 1, 1, 1, 1, 1, 1);
    }
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(memcmp(&before[i], o3DGetLight(i), sizeof(TLight)), 0) << i;
}

TEST(Light, DirectionalSetterNormalisesAndKeepsPositionAndFalloff)
{
    fillMarked(2);
    o3DSetDirectionalLight(2, 0, -3, 4, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f);
    const TLight *light = o3DGetLight(2);
    EXPECT_EQ(light->type, 0);
    expectVec(light->direction, 0, -0.6f, 0.8f);
    expectColour(light->diffuse, 0.1f, 0.2f, 0.3f);
    expectColour(light->specular, 0.4f, 0.5f, 0.6f);
    expectColour(light->ambient, 0.2f, 0.2f, 0.2f);
    // Only enabling changes the enabled flag; the rest is not a directional light's business.
    EXPECT_EQ(light->enabled, 7);
    expectVec(light->position, 5, 6, 7);
    EXPECT_EQ(light->constantAttenuation, 11);
    EXPECT_EQ(light->spotCutoff, 14);
}

TEST(Light, ZeroDirectionIsStoredAsZero)
{
    o3DSetDirectionalLight(3, 0, 0, 0, 1, 1, 1, 1, 1, 1);
    expectVec(o3DGetLight(3)->direction, 0, 0, 0);
    o3DSetSpotLight(3, 0, 0, 0, 0, 0, 0, 45, 1, 1, 1, 1, 1, 1);
    expectVec(o3DGetLight(3)->direction, 0, 0, 0);
}

TEST(Light, PointSetterStoresPositionAndStandardFalloff)
{
    fillMarked(5);
    o3DSetPointLight(5, 1, 2, 3, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f);
    const TLight *light = o3DGetLight(5);
    EXPECT_EQ(light->type, 1);
    expectVec(light->position, 1, 2, 3);
    expectColour(light->diffuse, 0.9f, 0.8f, 0.7f);
    expectColour(light->specular, 0.6f, 0.5f, 0.4f);
    expectColour(light->ambient, 0.2f, 0.2f, 0.2f);
    EXPECT_FLOAT_EQ(light->constantAttenuation, 1.0f);
    EXPECT_FLOAT_EQ(light->linearAttenuation, 0.09f);
    EXPECT_FLOAT_EQ(light->quadraticAttenuation, 0.032f);
    expectVec(light->direction, 8, 9, 10);
    EXPECT_EQ(light->spotCutoff, 14);
    EXPECT_EQ(light->spotExponent, 15);
    EXPECT_EQ(light->enabled, 7);
}

TEST(Light, SpotSetterStoresConeAsGiven)
{
    fillMarked(7);
    o3DSetSpotLight(7, -1, 4, 2, 2, 0, 0, 25.0f, 1, 0, 0, 0, 1, 0);
    const TLight *light = o3DGetLight(7);
    EXPECT_EQ(light->type, 2);
    expectVec(light->position, -1, 4, 2);
    expectVec(light->direction, 1, 0, 0);
    EXPECT_FLOAT_EQ(light->spotCutoff, 25.0f);
    EXPECT_FLOAT_EQ(light->spotExponent, 32.0f);
    EXPECT_FLOAT_EQ(light->linearAttenuation, 0.09f);
    expectColour(light->diffuse, 1, 0, 0);
    expectColour(light->specular, 0, 1, 0);
    EXPECT_EQ(light->enabled, 7);
}
