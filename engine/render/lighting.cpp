// Lights and materials: eight light slots kept in engine memory, handed to OpenGL only when a
// light is enabled, the engine's lighting flag that debug drawing reads, and material colours.
// Setting a slot needs no context; enabling, disabling and materials need a current one.
#include "ostrel3d.h"

#include "platform/gl_api.h"
#include "render/lighting.h"

#include <stddef.h>

static const int kLightSlots = 8;
static const float kSlotAmbient = 0.2f;
static const float kAttenuationConstant = 1.0f;
static const float kAttenuationLinear = 0.09f;
static const float kAttenuationQuadratic = 0.032f;
static const float kSpotExponent = 32.0f;
static const float kNoSpotCutoff = 180.0f;

enum { kDirectional = 0, kPoint = 1, kSpot = 2 };

struct LightingState {
    TLight lights[kLightSlots]; // all zero until o3DInitRenderer
    int lightingOn;
};

static LightingState sLighting;

static TLight *slot(int index)
{
    return index >= 0 && index < kLightSlots ? &sLighting.lights[index] : NULL;
}

static void setColours(TLight *light, float dr, float dg, float db, float sr, float sg, float sb)
{
    light->diffuse = o3DColor(dr, dg, db);
    light->specular = o3DColor(sr, sg, sb);
    light->ambient = o3DColor(kSlotAmbient, kSlotAmbient, kSlotAmbient);
}

static void setFalloff(TLight *light)
{
    light->constantAttenuation = kAttenuationConstant;
    light->linearAttenuation = kAttenuationLinear;
    light->quadraticAttenuation = kAttenuationQuadratic;
}

static void lightColour(GLenum light, GLenum name, TColor c)
{
    const GLfloat v[4] = {c.r, c.g, c.b, 1.0f};
    glLightfv(light, name, v);
}

static void materialColour(GLenum name, const float *rgb)
{
    const GLfloat v[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, name, v);
}

// Called by o3DInitRenderer: every slot off, a white point light at the origin.
void lightingResetSlots(void)
{
    for (int i = 0; i < kLightSlots; ++i) {
        TLight *light = &sLighting.lights[i];
        light->enabled = 0;
        light->type = kPoint;
        light->position = o3DVector3(0.0f, 0.0f, 0.0f);
        light->direction = o3DVector3(0.0f, -1.0f, 0.0f);
        setColours(light, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        light->constantAttenuation = kAttenuationConstant;
        light->linearAttenuation = 0.0f;
        light->quadraticAttenuation = 0.0f;
        light->spotCutoff = kNoSpotCutoff;
        light->spotExponent = 0.0f;
    }
}

void o3DEnableLighting(void)
{
    glEnable(GL_LIGHTING);
    sLighting.lightingOn = 1;
}

void o3DDisableLighting(void)
{
    glDisable(GL_LIGHTING);
    sLighting.lightingOn = 0;
}

int o3DIsLightingEnabled(void)
{
    return sLighting.lightingOn;
}

void o3DSetAmbientLight(float r, float g, float b)
{
    const GLfloat ambient[4] = {r, g, b, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

void o3DSetDirectionalLight(int index, float dx, float dy, float dz, float dr, float dg, float db,
                            float sr, float sg, float sb)
{
    TLight *light = slot(index);
    if (!light)
        return;
    light->type = kDirectional;
    light->direction = o3DVectorNormalize(o3DVector3(dx, dy, dz));
    setColours(light, dr, dg, db, sr, sg, sb);
}

void o3DSetPointLight(int index, float x, float y, float z, float dr, float dg, float db, float sr,
                      float sg, float sb)
{
    TLight *light = slot(index);
    if (!light)
        return;
    light->type = kPoint;
    light->position = o3DVector3(x, y, z);
    setColours(light, dr, dg, db, sr, sg, sb);
    setFalloff(light);
}

void o3DSetSpotLight(int index, float x, float y, float z, float dx, float dy, float dz,
                     float cutoff, float dr, float dg, float db, float sr, float sg, float sb)
{
    TLight *light = slot(index);
    if (!light)
        return;
    light->type = kSpot;
    light->position = o3DVector3(x, y, z);
    light->direction = o3DVectorNormalize(o3DVector3(dx, dy, dz));
    light->spotCutoff = cutoff;
    light->spotExponent = kSpotExponent;
    setColours(light, dr, dg, db, sr, sg, sb);
    setFalloff(light);
}

void o3DEnableLight(int index)
{
    TLight *light = slot(index);
    if (!light)
        return;
    GLenum id = (GLenum)(GL_LIGHT0 + index);
    lightColour(id, GL_AMBIENT, light->ambient);
    lightColour(id, GL_DIFFUSE, light->diffuse);
    lightColour(id, GL_SPECULAR, light->specular);
    if (light->type != kDirectional) {
        const GLfloat position[4] = {light->position.x, light->position.y, light->position.z, 1.0f};
        glLightfv(id, GL_POSITION, position);
        glLightf(id, GL_CONSTANT_ATTENUATION, light->constantAttenuation);
        glLightf(id, GL_LINEAR_ATTENUATION, light->linearAttenuation);
        glLightf(id, GL_QUADRATIC_ATTENUATION, light->quadraticAttenuation);
        if (light->type == kSpot) {
            const GLfloat direction[3] = {light->direction.x, light->direction.y,
                                          light->direction.z};
            glLightfv(id, GL_SPOT_DIRECTION, direction);
            glLightf(id, GL_SPOT_CUTOFF, light->spotCutoff);
            glLightf(id, GL_SPOT_EXPONENT, light->spotExponent);
        } else {
            glLightf(id, GL_SPOT_CUTOFF, kNoSpotCutoff);
        }
    } else {
        // OpenGL wants the vector towards a directional light, w = 0.
        const GLfloat towards[4] = {-light->direction.x, -light->direction.y, -light->direction.z,
                                    0.0f};
        glLightfv(id, GL_POSITION, towards);
    }
    glEnable(id);
    light->enabled = 1;
}

void o3DDisableLight(int index)
{
    TLight *light = slot(index);
    if (!light)
        return;
    glDisable((GLenum)(GL_LIGHT0 + index));
    light->enabled = 0;
}

TLight *o3DGetLight(int index)
{
    return slot(index);
}

void o3DSetMaterial(const TMaterial *material)
{
    if (!material)
        return;
    materialColour(GL_AMBIENT, material->ambient);
    materialColour(GL_DIFFUSE, material->diffuse);
    materialColour(GL_SPECULAR, material->specular);
    materialColour(GL_EMISSION, material->emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material->shininess);
}

void o3DSetMaterialColors(float ar, float ag, float ab, float dr, float dg, float db, float sr,
                          float sg, float sb, float shininess)
{
    TMaterial material = {{ar, ag, ab}, {dr, dg, db}, {sr, sg, sb}, {0.0f, 0.0f, 0.0f}, shininess};
    o3DSetMaterial(&material);
}
