// The view on a real context: the state o3DBegin3D and o3DBegin2D leave, the matrices of the
// projection operations and the camera, and where the camera's view lands on the screen.
#include "foundation_gl.h"

static ::testing::Environment *const kWindow =
    ::testing::AddGlobalTestEnvironment(new GlWindowEnvironment("Ostrel3D view GL test"));

namespace {

const float kAspect = 800.0f / 600.0f;

GLint matrixMode(void)
{
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    return mode;
}

// Leaves the modelview and the mode in a state the pass operations must replace.
void disturbMatrices(void)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3.0f, -2.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2.0f, 2.0f, 2.0f);
}

// A square of `half` units around p, facing +z, in the current colour.
void drawSquareAt(TVector3 p, float half)
{
    glBegin(GL_QUADS);
    glVertex3f(p.x - half, p.y - half, p.z);
    glVertex3f(p.x + half, p.y - half, p.z);
    glVertex3f(p.x + half, p.y + half, p.z);
    glVertex3f(p.x - half, p.y + half, p.z);
    glEnd();
}

class ViewGl : public ::testing::Test {
  protected:
    void SetUp() override
    {
        o3DBegin2D();
        o3DClearScreen(0.0f, 0.0f, 0.0f);
    }
    void TearDown() override
    {
        o3DSetViewportSize(kWindowWidth, kWindowHeight);
        o3DSetFov(45.0f);
        glDepthFunc(GL_LESS);
    }
};

TEST_F(ViewGl, Begin2DLoadsThePixelOrthoWithoutDepthTest)
{
    glEnable(GL_DEPTH_TEST);
    disturbMatrices();
    o3DBegin2D();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_TRUE(matricesNear(matrixOf(GL_MODELVIEW_MATRIX), identityMatrix()));
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX), orthoMatrix(0, 800, 600, 0, -1, 1)));
}

TEST_F(ViewGl, Begin2DMapsTheViewportSizeOntoTheScreen)
{
    // A 400 x 300 view stretched over the 800 x 600 viewport: one unit is two pixels.
    o3DSetViewportSize(400, 300);
    o3DBegin2D();
    o3DSetColor(1.0f, 0.0f, 0.0f);
    o3DFillRect(0, 0, 1, 1);
    o3DFillRect(399, 299, 1, 1);
    Frame frame = readFrame();
    EXPECT_EQ(frame.count(kRed, 0, 0, 2, 2), 4);
    EXPECT_EQ(frame.count(kRed, 798, 598, 800, 600), 4);
    EXPECT_EQ(frame.count(kRed), 8);
}

TEST_F(ViewGl, Begin3DLoadsThePerspectiveAndClearsOnlyDepth)
{
    o3DClearScreen(0.0f, 0.0f, 1.0f);
    glClearColor(1.0f, 1.0f, 0.0f, 1.0f); // what a colour clear would show
    glClearDepth(0.25);
    glClear(GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    disturbMatrices();

    o3DBegin3D();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_TRUE(matricesNear(matrixOf(GL_MODELVIEW_MATRIX), identityMatrix()));
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX),
                             perspectiveMatrix(45.0f, kAspect, 0.1f, 1000.0f)));
    EXPECT_NEAR(readDepth(0, 0), 1.0f, 0.001f);
    EXPECT_NEAR(readDepth(799, 599), 1.0f, 0.001f);
    EXPECT_EQ(readFrame().count(kBlue), 800 * 600);

    o3DSetFov(90.0f);
    o3DBegin3D();
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX),
                             perspectiveMatrix(90.0f, kAspect, 0.1f, 1000.0f)));
}

TEST_F(ViewGl, Begin3DHidesFartherGeometryBehindNearer)
{
    o3DBegin3D();
    o3DSetColor(1.0f, 0.0f, 0.0f);
    drawSquareAt(o3DVector3(0, 0, -2), 0.5f);
    o3DSetColor(0.0f, 1.0f, 0.0f);
    drawSquareAt(o3DVector3(0, 0, -6), 3.0f); // drawn later, but behind
    Frame frame = readFrame();
    EXPECT_EQ(frame.at(400, 300), kRed);
    EXPECT_EQ(frame.at(400 + 250, 300), kGreen); // the red square ends 181 px right of centre
}

TEST_F(ViewGl, SetOrthoReplacesOnlyTheProjection)
{
    disturbMatrices();
    glMatrixMode(GL_MODELVIEW);
    o3DSetOrtho(-10, 10, -5, 5, 1, 3);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX), orthoMatrix(-10, 10, -5, 5, 1, 3)));
    std::vector<float> modelview = matrixOf(GL_MODELVIEW_MATRIX);
    EXPECT_FLOAT_EQ(modelview[12], 3.0f);
    EXPECT_FLOAT_EQ(modelview[13], -2.0f);
}

TEST_F(ViewGl, ApplyCameraLoadsItsPerspectiveAndLookAt)
{
    TCamera cam;
    o3DSetCameraLookAt(&cam, 1, 2, 3, 4, 2, -1, 70, 0.5f, 200);
    glMatrixMode(GL_PROJECTION);
    o3DApplyCamera(&cam);
    EXPECT_EQ(matrixMode(), GL_MODELVIEW);
    EXPECT_TRUE(matricesNear(matrixOf(GL_PROJECTION_MATRIX),
                             perspectiveMatrix(70.0f, kAspect, 0.5f, 200.0f)));
    // The eye goes to the origin and the view direction to -z.
    std::vector<float> m = matrixOf(GL_MODELVIEW_MATRIX);
    auto transform = [&](float x, float y, float z, int row) {
        return m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    };
    EXPECT_NEAR(transform(1, 2, 3, 0), 0.0f, 1e-4f);
    EXPECT_NEAR(transform(1, 2, 3, 1), 0.0f, 1e-4f);
    EXPECT_NEAR(transform(1, 2, 3, 2), 0.0f, 1e-4f);
    TVector3 target = o3DGetCameraTarget(&cam);
    EXPECT_NEAR(transform(target.x, target.y, target.z, 0), 0.0f, 1e-4f);
    EXPECT_NEAR(transform(target.x, target.y, target.z, 1), 0.0f, 1e-4f);
    EXPECT_NEAR(transform(target.x, target.y, target.z, 2), -1.0f, 1e-4f);
}

TEST_F(ViewGl, ApplyCameraPutsTheTargetAtTheScreenCentre)
{
    TCamera cam;
    o3DSetCameraLookAt(&cam, 2, 1, 6, -1, 0, -2, 60, 0.1f, 100);
    o3DApplyCamera(&cam);
    glDisable(GL_POINT_SMOOTH);
    glPointSize(4.0f);
    TVector3 target = o3DGetCameraTarget(&cam);
    TVector3 right = o3DVectorScale(o3DGetCameraRight(&cam), 0.2f);
    TVector3 up = o3DVectorScale(o3DGetCameraUp(&cam), 0.2f);
    glBegin(GL_POINTS);
    glColor3f(1, 0, 0);
    glVertex3f(target.x, target.y, target.z);
    glColor3f(0, 1, 0);
    glVertex3f(target.x + right.x, target.y + right.y, target.z + right.z);
    glColor3f(0, 0, 1);
    glVertex3f(target.x + up.x, target.y + up.y, target.z + up.z);
    glEnd();
    glPointSize(1.0f);
    glEnable(GL_POINT_SMOOTH);
    Frame frame = readFrame();

    // The target is one unit ahead: 0.2 units aside is 0.2 / tan(30 deg) of the half height.
    const float offsetY = 0.2f / tanf(30.0f * 3.14159265f / 180.0f) * 300.0f; // 103.9 px
    const float offsetX = offsetY;                                            // square pixels
    EXPECT_EQ(frame.count(kRed, 398, 298, 402, 302), 16);
    EXPECT_EQ(frame.count(kRed), 16);
    int gx = (int)(400 + offsetX), by = (int)(300 - offsetY);
    EXPECT_EQ(frame.count(kGreen, gx - 3, 297, gx + 4, 303), 16) << "right of centre at " << gx;
    EXPECT_EQ(frame.count(kBlue, 397, by - 3, 403, by + 4), 16) << "above centre at " << by;
}

TEST_F(ViewGl, MatrixWrappersComposeOnTheModelview)
{
    glMatrixMode(GL_MODELVIEW);
    o3DLoadIdentity();
    o3DTranslate(1, 2, 3);
    o3DPushMatrix();
    o3DRotate(90, 0, 0, 1);
    o3DScale(2, 3, 4);
    // x axis -> 2 * (0, 1, 0), y axis -> 3 * (-1, 0, 0), z axis -> 4 * (0, 0, 1), then the move.
    EXPECT_TRUE(matricesNear(matrixOf(GL_MODELVIEW_MATRIX),
                             {0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}));
    o3DMultMatrix(nullptr);
    const float move[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1};
    o3DMultMatrix(move);
    std::vector<float> m = matrixOf(GL_MODELVIEW_MATRIX);
    EXPECT_NEAR(m[12], 1.0f, 1e-5f);
    EXPECT_NEAR(m[13], 2.0f + 10.0f, 1e-5f);
    o3DPopMatrix();
    EXPECT_TRUE(matricesNear(matrixOf(GL_MODELVIEW_MATRIX),
                             {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
}

} // namespace
