// Draws 2D images as one textured screen quad each, in the pixel projection of o3DBegin2D. The
// blend state is handed back as the caller had it (with the standard function), texturing ends
// off and the 2D drawing colour of the overlay is put back, so shapes drawn next are unaffected.
#include "ostrel3d.h"

#include "overlay/draw2d.h"
#include "platform/gl_api.h"

void o3DDrawImage(TTexture *img, float x, float y)
{
    if (!img)
        return;
    o3DDrawImageSized(img, x, y, (float)img->width, (float)img->height);
}

void o3DDrawImageSized(TTexture *img, float x, float y, float w, float h)
{
    o3DDrawImageEx(img, x, y, w, h, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
}

void o3DDrawImageRotated(TTexture *img, float x, float y, float w, float h, float angle,
                         float alpha)
{
    o3DDrawImageEx(img, x, y, w, h, angle, alpha, 1.0f, 1.0f, 1.0f);
}

void o3DDrawImageEx(TTexture *img, float x, float y, float w, float h, float angle, float alpha,
                    float r, float g, float b)
{
    if (!img || !img->loaded)
        return;
    // Only the top-left part of the power-of-two texture holds the picture. A surface texture
    // has no texture size of its own (o3DLoadTexture leaves it 0) and is drawn whole.
    float u = img->texWidth > 0 ? (float)img->width / (float)img->texWidth : 1.0f;
    float v = img->texHeight > 0 ? (float)img->height / (float)img->texHeight : 1.0f;

    GLboolean blendWasOn = glIsEnabled(GL_BLEND);
    int blendNeeded = img->colorKeyOn || alpha < 1.0f || img->additive;
    if (blendNeeded) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, img->additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, img->id);
    if (img->additive)
        glColor4f(r * img->tintR * img->tintA, g * img->tintG * img->tintA,
                  b * img->tintB * img->tintA, alpha);
    else
        glColor4f(r, g, b, alpha);

    float halfW = w / 2.0f, halfH = h / 2.0f;
    glPushMatrix();
    glTranslatef(x + halfW, y + halfH, 0.0f);
    if (angle != 0.0f)
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-halfW, -halfH);
    glTexCoord2f(u, 0.0f);
    glVertex2f(halfW, -halfH);
    glTexCoord2f(u, v);
    glVertex2f(halfW, halfH);
    glTexCoord2f(0.0f, v);
    glVertex2f(-halfW, halfH);
    glEnd();
    glPopMatrix();

    glDisable(GL_TEXTURE_2D);
    overlayRestoreColor();
    if (blendWasOn || blendNeeded)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (!blendWasOn)
        glDisable(GL_BLEND);
}
