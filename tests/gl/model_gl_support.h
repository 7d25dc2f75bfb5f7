// What the MD2, billboard and shadow GL tests share beyond world_gl_support.h (whose 320 x 240
// window they use): what a drawing sent to the rasteriser, caught in feedback mode, and a pose
// step that lets the engine clock pass the pose rate.
#ifndef O3D_TESTS_MODEL_GL_SUPPORT_H
#define O3D_TESTS_MODEL_GL_SUPPORT_H

#include "world_gl_support.h"

#include <chrono>
#include <thread>
#include <vector>

// One primitive in window coordinates: x, y, z per vertex.
struct FeedbackShape {
    std::vector<TVector3> vertices;
};

struct Feedback {
    std::vector<FeedbackShape> polygons;
    std::vector<FeedbackShape> lines;
};

// Runs `draw` in feedback mode (GL_3D_COLOR: x, y, z, r, g, b, a per vertex).
template <typename Draw> Feedback feedbackOf(Draw draw)
{
    const int vertexFloats = 7;
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    int used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    Feedback fb;
    auto shape = [&](int &i, int count) {
        FeedbackShape s;
        for (int k = 0; k < count; ++k, i += vertexFloats)
            s.vertices.push_back({buffer[(size_t)i], buffer[(size_t)i + 1], buffer[(size_t)i + 2]});
        return s;
    };
    for (int i = 0; i < used;) {
        int token = (int)buffer[(size_t)i++];
        if (token == GL_POLYGON_TOKEN) {
            int n = (int)buffer[(size_t)i++];
            fb.polygons.push_back(shape(i, n));
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            fb.lines.push_back(shape(i, 2));
        } else if (token == GL_POINT_TOKEN) {
            shape(i, 1);
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return fb;
}

// Lets more than the pose interval (1/60 s) of engine time pass, so the next draw may re-pose.
inline void passPoseInterval(void)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    o3DUpdateTimer();
}

// An orthographic view of 80 pixels per unit centred on the window, looking along -z, unlit.
inline void beginFlatWorld(Rgb clear)
{
    beginWorldFrame({0, 0, 5}, {0, 0, -1}, {0, 1, 0}, 60.0f, 0.1f, 100.0f, clear);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2.0, 2.0, -1.5, 1.5, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

#endif
