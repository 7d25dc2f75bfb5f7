// Lights, materials, fog and the render switches on a real context: what each operation leaves in
// OpenGL, and what it must not touch until a light is enabled.
#include "foundation_gl.h"

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlWindowEnvironment("Ostrel3D render state GL test"));

namespace {

std::vector<float> lightFloats(GLenum light, GLenum name, int count)
{
    std::vector<float> values((size_t)count, -9.0f);
    glGetLightfv(light, name, values.data());
    return values;
}

std::vector<float> materialFloats(GLenum face, GLenum name, int count)
{
    std::vector<float> values((size_t)count, -9.0f);
    glGetMaterialfv(face, name, values.data());
    return values;
}

::testing::AssertionResult closeTo(const std::vector<float> &seen,
                                   const std::vector<float> &expected)
{
    for (size_t i = 0; i < expected.size(); ++i)
        if (fabsf(seen[i] - expected[i]) > 1e-5f)
            return ::testing::AssertionFailure()
                   << "value " << i << " is " << seen[i] << ", expected " << expected[i];
    return ::testing::AssertionSuccess();
}

// Lights are placed with an identity modelview, so GL keeps their vectors as given.
class RenderStateGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        o3DInitRenderer(kWindowWidth, kWindowHeight);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override
    {
        for (int i = 0; i < 8; ++i)
            o3DDisableLight(i);
        o3DDisableLighting();
        o3DDisableFog();
        o3DDisableCulling();
        o3DSetSolid();
    }
};

TEST_F(RenderStateGl, InitRendererResetsSlotsAndSetsDepthAndShading)
{
    o3DSetSpotLight(4, 1, 2, 3, 0, 0, -1, 10, 0, 0, 0, 0, 0, 0);
    o3DEnableLight(4);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glShadeModel(GL_FLAT);

    o3DInitRenderer(640, 480);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const TLight *light = o3DGetLight(i);
        EXPECT_EQ(light->enabled, 0);
        EXPECT_EQ(light->type, 1);
        EXPECT_EQ(light->position.x, 0.0f);
        EXPECT_EQ(light->direction.y, -1.0f);
        EXPECT_FLOAT_EQ(light->ambient.g, 0.2f);
        EXPECT_EQ(light->diffuse.b, 1.0f);
        EXPECT_EQ(light->specular.r, 1.0f);
        EXPECT_EQ(light->constantAttenuation, 1.0f);
        EXPECT_EQ(light->linearAttenuation, 0.0f);
        EXPECT_EQ(light->quadraticAttenuation, 0.0f);
        EXPECT_EQ(light->spotCutoff, 180.0f);
        EXPECT_EQ(light->spotExponent, 0.0f);
    }
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glInteger(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_EQ(glInteger(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(glInteger(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    o3DInitRenderer(kWindowWidth, kWindowHeight);
}

// What each kind of light hands to OpenGL on enable.
TEST_F(RenderStateGl, EnableLightHandsEachKindToOpenGL)
{
    struct Case {
        const char *name;
        void (*set)(int index);
        std::vector<float> position, spotDirection;
        float cutoff, exponent, linear;
    } cases[] = {
        {"directional",
         [](int i) { o3DSetDirectionalLight(i, 0, -2, 0, 0.5f, 0.6f, 0.7f, 0.1f, 0.2f, 0.3f); },
         {0, 1, 0, 0},
         {0, 0, -1},
         180,
         0,
         0},
        {"point",
         [](int i) { o3DSetPointLight(i, 4, 5, 6, 0.5f, 0.6f, 0.7f, 0.1f, 0.2f, 0.3f); },
         {4, 5, 6, 1},
         {0, 0, -1},
         180,
         0,
         0.09f},
        {"spot",
         [](int i) {
             o3DSetSpotLight(i, 1, 2, 3, 0, 0, -3, 40, 0.5f, 0.6f, 0.7f, 0.1f, 0.2f, 0.3f);
         },
         {1, 2, 3, 1},
         {0, 0, -1},
         40,
         32,
         0.09f},
    };
    int index = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        GLenum light = (GLenum)(GL_LIGHT0 + index);
        c.set(index);
        o3DEnableLight(index);
        EXPECT_TRUE(glIsEnabled(light));
        EXPECT_EQ(o3DGetLight(index)->enabled, 1);
        EXPECT_TRUE(closeTo(lightFloats(light, GL_AMBIENT, 4), {0.2f, 0.2f, 0.2f, 1}));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_DIFFUSE, 4), {0.5f, 0.6f, 0.7f, 1}));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_SPECULAR, 4), {0.1f, 0.2f, 0.3f, 1}));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_POSITION, 4), c.position));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_SPOT_DIRECTION, 3), c.spotDirection));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_SPOT_CUTOFF, 1), {c.cutoff}));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_SPOT_EXPONENT, 1), {c.exponent}));
        EXPECT_TRUE(closeTo(lightFloats(light, GL_LINEAR_ATTENUATION, 1), {c.linear}));
        o3DDisableLight(index);
        EXPECT_FALSE(glIsEnabled(light));
        EXPECT_EQ(o3DGetLight(index)->enabled, 0);
        ++index;
    }
}

TEST_F(RenderStateGl, PointLightAfterASpotPutsTheConeBackToAFullSphere)
{
    o3DSetSpotLight(1, 0, 0, 0, 0, -1, 0, 30, 1, 1, 1, 1, 1, 1);
    o3DEnableLight(1);
    o3DSetPointLight(1, 0, 0, 0, 1, 1, 1, 1, 1, 1);
    o3DEnableLight(1);
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT1, GL_SPOT_CUTOFF, 1), {180}));
}

TEST_F(RenderStateGl, SettersLeaveOpenGLAloneUntilEnable)
{
    o3DSetPointLight(2, 1, 1, 1, 0.3f, 0.3f, 0.3f, 0, 0, 0);
    o3DEnableLight(2);
    o3DSetSpotLight(2, 7, 8, 9, 1, 0, 0, 20, 0.9f, 0.9f, 0.9f, 0, 0, 0);
    EXPECT_EQ(o3DGetLight(2)->spotExponent, 32.0f);
    EXPECT_EQ(o3DGetLight(2)->spotCutoff, 20.0f);
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT2, GL_POSITION, 4), {1, 1, 1, 1}));
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT2, GL_DIFFUSE, 4), {0.3f, 0.3f, 0.3f, 1}));
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT2, GL_SPOT_CUTOFF, 1), {180}));
    o3DEnableLight(2);
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT2, GL_POSITION, 4), {7, 8, 9, 1}));
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT2, GL_SPOT_CUTOFF, 1), {20}));
}

TEST_F(RenderStateGl, ZeroDirectionGivesAZeroPosition)
{
    o3DSetDirectionalLight(3, 0, 0, 0, 1, 1, 1, 1, 1, 1);
    o3DEnableLight(3);
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT3, GL_POSITION, 4), {0, 0, 0, 0}));
}

TEST_F(RenderStateGl, LightVectorsFollowTheModelviewAtEnable)
{
    o3DSetPointLight(0, 1, 0, 0, 1, 1, 1, 1, 1, 1);
    glTranslatef(0, 0, -10);
    o3DEnableLight(0);
    EXPECT_TRUE(closeTo(lightFloats(GL_LIGHT0, GL_POSITION, 4), {1, 0, -10, 1}));
}

TEST_F(RenderStateGl, LightIndicesOutsideTheSlotsTouchNoLight)
{
    o3DEnableLight(8);
    o3DEnableLight(-1);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(glIsEnabled((GLenum)(GL_LIGHT0 + i))) << i;
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
    o3DEnableLight(7);
    o3DDisableLight(8);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT7));
}

TEST_F(RenderStateGl, LightingSwitchKeepsTheFlagAndAmbientModel)
{
    o3DEnableLighting();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(o3DIsLightingEnabled(), 1);
    o3DDisableLighting();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(o3DIsLightingEnabled(), 0);
    o3DSetAmbientLight(0.1f, 0.2f, 0.3f);
    EXPECT_TRUE(closeTo(glFloats(GL_LIGHT_MODEL_AMBIENT, 4), {0.1f, 0.2f, 0.3f, 1}));
}

TEST_F(RenderStateGl, MaterialsReachBothFacesWithOpaqueAlpha)
{
    TMaterial material = {
        {0.1f, 0.2f, 0.3f}, {0.4f, 0.5f, 0.6f}, {0.7f, 0.8f, 0.9f}, {0.05f, 0.15f, 0.25f}, 42.0f};
    o3DSetMaterial(&material);
    for (GLenum face : {GL_FRONT, GL_BACK}) {
        EXPECT_TRUE(closeTo(materialFloats(face, GL_AMBIENT, 4), {0.1f, 0.2f, 0.3f, 1}));
        EXPECT_TRUE(closeTo(materialFloats(face, GL_DIFFUSE, 4), {0.4f, 0.5f, 0.6f, 1}));
        EXPECT_TRUE(closeTo(materialFloats(face, GL_SPECULAR, 4), {0.7f, 0.8f, 0.9f, 1}));
        EXPECT_TRUE(closeTo(materialFloats(face, GL_EMISSION, 4), {0.05f, 0.15f, 0.25f, 1}));
        EXPECT_TRUE(closeTo(materialFloats(face, GL_SHININESS, 1), {42}));
    }
    o3DSetMaterial(nullptr);
    EXPECT_TRUE(closeTo(materialFloats(GL_FRONT, GL_SHININESS, 1), {42}));

    o3DSetMaterialColors(1, 0, 0, 0, 1, 0, 0, 0, 1, 8);
    EXPECT_TRUE(closeTo(materialFloats(GL_BACK, GL_AMBIENT, 4), {1, 0, 0, 1}));
    EXPECT_TRUE(closeTo(materialFloats(GL_BACK, GL_DIFFUSE, 4), {0, 1, 0, 1}));
    EXPECT_TRUE(closeTo(materialFloats(GL_BACK, GL_SPECULAR, 4), {0, 0, 1, 1}));
    EXPECT_TRUE(closeTo(materialFloats(GL_BACK, GL_EMISSION, 4), {0, 0, 0, 1}));
    EXPECT_TRUE(closeTo(materialFloats(GL_BACK, GL_SHININESS, 1), {8}));
}

// Each mode sets its own parameters; the start, end and density of a previous call stay unless
// the mode uses them. An unknown mode changes only the colour.
TEST_F(RenderStateGl, FogModesSetTheirParametersOnly)
{
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 1);
    glFogf(GL_FOG_END, 2);
    glFogf(GL_FOG_DENSITY, 0.5f);
    glHint(GL_FOG_HINT, GL_FASTEST);
    struct {
        int mode;
        float density, start, end;             // passed
        GLint glMode;                          // seen after the call
        float seenDensity, seenStart, seenEnd; // seen after the call
    } cases[] = {
        {0, 0.9f, 20, 120, GL_LINEAR, 0.5f, 20, 120},
        {1, 0.25f, 30, 130, GL_EXP, 0.25f, 20, 120},
        {2, 0.035f, 40, 140, GL_EXP2, 0.035f, 20, 120},
        {3, 0.7f, 50, 150, GL_EXP2, 0.035f, 20, 120},
        {-1, 0.8f, 60, 160, GL_EXP2, 0.035f, 20, 120},
    };
    int i = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        float r = 0.1f * (float)(++i);
        o3DSetFog(c.mode, r, 0.72f, 0.75f, c.density, c.start, c.end);
        EXPECT_TRUE(closeTo(glFloats(GL_FOG_COLOR, 4), {r, 0.72f, 0.75f, 1}));
        EXPECT_EQ(glInteger(GL_FOG_MODE), c.glMode);
        EXPECT_TRUE(closeTo(glFloats(GL_FOG_DENSITY, 1), {c.seenDensity}));
        EXPECT_TRUE(closeTo(glFloats(GL_FOG_START, 1), {c.seenStart}));
        EXPECT_TRUE(closeTo(glFloats(GL_FOG_END, 1), {c.seenEnd}));
        EXPECT_EQ(glInteger(GL_FOG_HINT), GL_NICEST);
        EXPECT_FALSE(glIsEnabled(GL_FOG));
    }
    o3DEnableFog();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    o3DDisableFog();
    EXPECT_FALSE(glIsEnabled(GL_FOG));
}

TEST_F(RenderStateGl, SwitchesTurnTheirCapabilityOnAndOff)
{
    struct {
        GLenum capability;
        void (*on)(void);
        void (*off)(void);
    } cases[] = {
        {GL_DEPTH_TEST, o3DEnableDepthTest, o3DDisableDepthTest},
        {GL_TEXTURE_2D, o3DEnableTexturing, o3DDisableTexturing},
        {GL_CULL_FACE, o3DEnableCulling, o3DDisableCulling},
        {GL_FOG, o3DEnableFog, o3DDisableFog},
        {GL_LIGHTING, o3DEnableLighting, o3DDisableLighting},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.capability);
        c.on();
        EXPECT_TRUE(glIsEnabled(c.capability));
        c.off();
        EXPECT_FALSE(glIsEnabled(c.capability));
    }
}

TEST_F(RenderStateGl, CullFaceAndPolygonMode)
{
    o3DSetCullFace(1);
    EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), GL_FRONT);
    o3DSetCullFace(0);
    EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), GL_BACK);
    o3DSetCullFace(-5);
    EXPECT_EQ(glInteger(GL_CULL_FACE_MODE), GL_FRONT);

    GLint modes[2] = {0, 0};
    o3DSetWireframe();
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_EQ(modes[1], GL_LINE);
    o3DSetSolid();
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
}

} // namespace
