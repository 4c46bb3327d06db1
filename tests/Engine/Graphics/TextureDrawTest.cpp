// Textures drawn into a real context and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Engine/Core/EngWindow.h"
#include "Engine/Graphics/DX9/EngTextureDX9.h"
#include "Engine/Graphics/EngDevice.h"
#include "Engine/Graphics/EngTexture.h"
#include "Engine/Graphics/EngTriangleList.h"
#include "GraphicsTestUtil.h"
#include "Support/GLTestContext.h"

namespace {

// Draws a texture over the whole virtual screen on black and returns the centre pixel.
EngUInt32 DrawFullScreen(GLTestContext& gl, EngTexture& texture)
{
    BeginTestFrame(0, 0, 0);
    texture.PositionRatioed(0, 0, 640, 480);
    texture.Draw();
    EndTestFrame();
    return gl.Pixel(eng_screen_width / 2, eng_screen_height / 2);
}

void FillEmptyTexture(EngTexture& texture, unsigned char r, unsigned char g, unsigned char b)
{
    int pitch = 0;
    EngTextureDX9* dx9 = texture.GetDX9();
    unsigned char* bits = dx9->LockRect(&pitch);
    ASSERT_NE(nullptr, bits);
    for (int y = 0; y < dx9->GetHeight(); ++y) {
        for (int x = 0; x < dx9->GetWidth(); ++x) {
            unsigned char* p = bits + y * pitch + x * 4;
            p[0] = b;
            p[1] = g;
            p[2] = r;
            p[3] = 255;
        }
    }
    ASSERT_TRUE(dx9->UnlockRect());
}

// A red texture loaded, the device made again, then a green one loaded: the new context may well give the
// green texture the red one's old name.
void LoadAcrossARecreation(EngTexture& old_texture, EngTexture& new_texture, std::string* red_path)
{
    *red_path = WriteSolidPicture("old.png", "png", 4, 4, 255, 0, 0, 255);
    const std::string green = WriteSolidPicture("new.png", "png", 4, 4, 0, 255, 0, 255);
    ASSERT_TRUE(old_texture.LoadFromFile(red_path->c_str(), false, ETAT_OPAQUE));
    ASSERT_TRUE(eng_main_window->RecreateDevice());
    ASSERT_TRUE(new_texture.LoadFromFile(green.c_str(), false, ETAT_OPAQUE));
}

} // namespace

class TextureDraw : public GLTestFixture {};

TEST_F(TextureDraw, EveryPictureKindDrawsItsColour)
{
    const char* kinds[] = {"bmp", "tga", "jpg", "png"};
    for (const char* kind : kinds) {
        const std::string name = std::string("solid.") + kind;
        const std::string path = WriteSolidPicture(name.c_str(), kind, 8, 8, 200, 40, 90, 255);
        ASSERT_FALSE(path.empty());
        EngTexture texture;
        ASSERT_TRUE(texture.LoadFromFileUsingExt(path.c_str(), false, ETAT_OPAQUE, ETFE_UNKNOWN)) << kind;
        EXPECT_EQ(8, texture.GetDX9()->GetWidth());
        EXPECT_EQ(D3DFMT_X8R8G8B8, texture.GetDX9()->GetFormat());
        const int tolerance = std::strcmp(kind, "jpg") == 0 ? 8 : 2;
        EXPECT_TRUE(PixelNear(DrawFullScreen(gl, texture), 200, 40, 90, tolerance)) << kind;
    }
}

TEST_F(TextureDraw, FileAlphaBlendsOverTheBackground)
{
    const char* kinds[] = {"tga", "png"};
    for (const char* kind : kinds) {
        const std::string name = std::string("half.") + kind;
        const std::string path = WriteSolidPicture(name.c_str(), kind, 4, 4, 255, 0, 0, 128);
        EngTexture texture;
        ASSERT_TRUE(texture.LoadFromFile(path.c_str(), true, ETAT_FROM_FILE));
        EXPECT_TRUE(texture.GetDX9()->HasAlpha());
        int pitch = 0;
        EXPECT_EQ(128, texture.GetDX9()->LockRect(&pitch)[3]);
        texture.GetDX9()->UnlockRect();
        BeginTestFrame(0, 0, 1);
        EngDeviceEnableBlendingType(0);
        EngDeviceTurnOnAlphaModulation();
        texture.PositionRatioed(0, 0, 640, 480);
        texture.Draw();
        EngDeviceTurnOffAlphaModulation();
        EngDeviceDisableBlending();
        EndTestFrame();
        EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 128, 0, 127, 3)) << kind;
    }
}

TEST_F(TextureDraw, ComputedAlphaReplacesTheFileAlpha)
{
    const std::string path = WriteSolidPicture("grey.png", "png", 4, 4, 40, 40, 40, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), true, ETAT_DARK_CUTOFF));
    int pitch = 0;
    unsigned char* bits = texture.GetDX9()->LockRect(&pitch);
    ASSERT_NE(nullptr, bits);
    EXPECT_EQ(40 * 8 - 256, bits[3]);
    EXPECT_EQ(40, bits[2]);
    texture.GetDX9()->UnlockRect();
}

TEST_F(TextureDraw, DatPictureIsDecodedAsTheNamedKind)
{
    std::vector<unsigned char> rgba(4 * 4 * 4, 0);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i + 1] = 255;
        rgba[i + 3] = 255;
    }
    const std::string png = WritePicture("picture.png", "png", 4, 4, rgba);
    const std::string tga = WritePicture("picture.tga", "tga", 4, 4, rgba);
    std::rename(png.c_str(), (TestPictureFolder() + "/png.dat").c_str());
    std::rename(tga.c_str(), (TestPictureFolder() + "/tga.dat").c_str());
    const std::string png_dat = TestPictureFolder() + "/png.dat";
    const std::string tga_dat = TestPictureFolder() + "/tga.dat";

    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFileUsingExt(png_dat.c_str(), false, ETAT_OPAQUE, ETFE_PNG));
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, texture), 0, 255, 0));
    ASSERT_TRUE(texture.LoadFromFileUsingExt(tga_dat.c_str(), false, ETAT_OPAQUE, ETFE_TGA));
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, texture), 0, 255, 0));

    // A PNG named as a bitmap is not a bitmap.
    ClearLogMark();
    EXPECT_FALSE(texture.LoadFromFileUsingExt(png_dat.c_str(), false, ETAT_OPAQUE, ETFE_BMP));
    EXPECT_TRUE(LogHas("Could not load <"));
    EXPECT_FALSE(texture.IsLoaded());
}

TEST_F(TextureDraw, MissingAndBrokenFilesFailAndStayUnloaded)
{
    EngTexture texture;
    ClearLogMark();
    EXPECT_FALSE(texture.LoadFromFile("no-such-picture.png", false, ETAT_OPAQUE));
    EXPECT_TRUE(LogHas("File does not exist <no-such-picture.png>"));
    EXPECT_FALSE(texture.LoadFromFile("", false, ETAT_OPAQUE));
    EXPECT_TRUE(LogHas("No file specified"));

    std::vector<unsigned char> junk = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 1, 2, 3};
    const std::string broken = WriteBytes("broken.png", junk);
    EXPECT_FALSE(texture.LoadFromFile(broken.c_str(), false, ETAT_OPAQUE));
    EXPECT_TRUE(LogHas("Could not load <"));
    EXPECT_FALSE(texture.IsLoaded());
    EXPECT_FALSE(texture.Draw());
}

TEST_F(TextureDraw, DefaultCoordinatesSitHalfATexelInside)
{
    const std::string path = WriteSolidPicture("wide.png", "png", 100, 50, 1, 2, 3, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), false, ETAT_OPAQUE));
    const float* uv = texture.GetDX9()->GetTextureCoordinates();
    EXPECT_FLOAT_EQ(0.005f, uv[0]);
    EXPECT_FLOAT_EQ(0.01f, uv[1]);
    EXPECT_FLOAT_EQ(0.995f, uv[2]);
    EXPECT_FLOAT_EQ(0.99f, uv[3]);
    EXPECT_TRUE(texture.GetDX9()->HasDefaultCoordinates());
    texture.Draw();
    EXPECT_FALSE(texture.GetDX9()->HasDefaultCoordinates());
}

TEST_F(TextureDraw, ZeroSizeIsRefusedAndNegativeAccepted)
{
    const std::string path = WriteSolidPicture("pos.png", "png", 4, 4, 9, 9, 9, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(path.c_str(), false, ETAT_OPAQUE));
    ASSERT_TRUE(texture.PositionRatioed(10, 10, 100, 100));
    const EngVertexBufferDX9* quad = texture.GetDX9()->GetQuad();
    std::vector<unsigned char> before(quad->GetVertexData(), quad->GetVertexData() + 80);
    ClearLogMark();
    EXPECT_FALSE(texture.PositionRatioed(50, 50, 0, 100));
    EXPECT_TRUE(LogHas("Invalid sizes"));
    EXPECT_EQ(0, std::memcmp(before.data(), quad->GetVertexData(), before.size()));
    EXPECT_FALSE(texture.PositionPure(1, 1, -5, 5));
    EXPECT_TRUE(texture.PositionRatioed(50, 50, -20, 100));
    EXPECT_NE(0, std::memcmp(before.data(), quad->GetVertexData(), before.size()));
}

TEST_F(TextureDraw, PixelQuadCoversItsRectangleGrownByHalfAPixel)
{
    EngTexture texture;
    int w = 4;
    int h = 4;
    ASSERT_TRUE(texture.CreateEmptyTexture2D(&w, &h, false));
    FillEmptyTexture(texture, 255, 255, 255);
    BeginTestFrame(0, 0, 0);
    ASSERT_TRUE(texture.PositionPure(10, 20, 100, 50));
    texture.Draw();
    EndTestFrame();
    EXPECT_TRUE(RectFilled(gl, 10, 20, 111, 71, 255, 255, 255));
}

TEST_F(TextureDraw, ReloadKeepsTheQuadColour)
{
    const std::string white = WriteSolidPicture("white.png", "png", 4, 4, 255, 255, 255, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(white.c_str(), false, ETAT_OPAQUE));
    ASSERT_TRUE(texture.SetColour(0.0f, 1.0f, 0.0f, 1.0f));
    EXPECT_TRUE(texture.GetDX9()->IsQuadColoured());
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, texture), 0, 255, 0));

    ASSERT_TRUE(texture.LoadFromFile(white.c_str(), false, ETAT_OPAQUE));
    EXPECT_TRUE(texture.GetDX9()->IsQuadColoured());
    BeginTestFrame(0, 0, 0);
    texture.Draw(); // no new position: the reload kept it too
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 255, 0));
}

TEST_F(TextureDraw, ColourOutOfRangeIsClampedNotSpilled)
{
    const std::string white = WriteSolidPicture("white2.png", "png", 4, 4, 255, 255, 255, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(white.c_str(), false, ETAT_OPAQUE));
    texture.SetColour(2.0f, -1.0f, 0.5f, 1.0f);
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, texture), 255, 0, 128, 2));
}

TEST_F(TextureDraw, TriangleListFollowsItsTextureThroughAReload)
{
    const std::string red = WriteSolidPicture("red.png", "png", 4, 4, 255, 0, 0, 255);
    const std::string blue = WriteSolidPicture("blue.png", "png", 4, 4, 0, 0, 255, 255);
    EngTexture texture;
    ASSERT_TRUE(texture.LoadFromFile(red.c_str(), false, ETAT_OPAQUE));
    EngTriangleList list;
    ASSERT_TRUE(list.Create(ETLT_POS_COL_TEX, &texture, 2));
    list.SetPositions(0, 0, 0, 0, 0, 480, 0, 640, 0, 0);
    list.SetPositions(1, 640, 0, 0, 0, 480, 0, 640, 480, 0);

    ASSERT_TRUE(texture.LoadFromFile(blue.c_str(), false, ETAT_OPAQUE));
    EngDeviceShowTwoSidedPolygons(true);
    BeginTestFrame(0, 0, 0);
    list.Draw();
    EndTestFrame();
    EXPECT_TRUE(PixelNear(gl.Pixel(320, 240), 0, 0, 255));
}

TEST_F(TextureDraw, TextureFromADeadContextNeverDeletesANewOne)
{
    EngTexture old_texture;
    EngTexture new_texture;
    std::string red;
    ASSERT_NO_FATAL_FAILURE(LoadAcrossARecreation(old_texture, new_texture, &red));
    old_texture.Unload();
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, new_texture), 0, 255, 0));
}

TEST_F(TextureDraw, TextureFromADeadContextIsNotDrawnAsANewOne)
{
    EngTexture old_texture;
    EngTexture new_texture;
    std::string red;
    ASSERT_NO_FATAL_FAILURE(LoadAcrossARecreation(old_texture, new_texture, &red));
    EXPECT_FALSE(old_texture.IsLoaded());
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, old_texture), 0, 0, 0)) << "nothing drawn, least of all the new one";
    ASSERT_TRUE(old_texture.LoadFromFile(red.c_str(), false, ETAT_OPAQUE));
    EXPECT_TRUE(PixelNear(DrawFullScreen(gl, old_texture), 255, 0, 0)) << "a reload makes it live again";
}

TEST_F(TextureDraw, TextureCursorDataHasItsTipAtTheTopLeft)
{
    EngTexture cursor;
    ASSERT_TRUE(cursor.LoadFromFileUsingExt("Data\\1200.tga", true, ETAT_FROM_FILE, ETFE_UNKNOWN));
    EngTextureDX9* dx9 = cursor.GetDX9();
    ASSERT_EQ(32, dx9->GetWidth());
    ASSERT_EQ(32, dx9->GetHeight());
    int pitch = 0;
    const unsigned char* bits = dx9->LockRect(&pitch);
    ASSERT_NE(nullptr, bits);
    EXPECT_EQ(255, bits[3]);               // the tip is solid
    EXPECT_GT(bits[3 * pitch + 8 + 3], 200); // the shaft below it is drawn
    EXPECT_EQ(0, bits[2 * pitch + 20 * 4 + 3]); // beside it, clear
    EXPECT_EQ(0, bits[31 * pitch + 31 * 4 + 3]);
    dx9->UnlockRect();
}

// The same virtual rectangle lands on the same share of the screen at every size.
class TextureScale : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TextureScale, QuadsLandOnTheScaledPixels)
{
    GLTestContext gl;
    ASSERT_TRUE(gl.Open(GetParam().first, GetParam().second));
    // The window may be held to the desktop's size; the screen values say what was made.
    const int w = eng_screen_width;
    const int h = eng_screen_height;
    const std::string white = WriteSolidPicture("scale.png", "png", 4, 4, 255, 255, 255, 255);
    EngTexture quad3d;
    ASSERT_TRUE(quad3d.LoadFromFile(white.c_str(), false, ETAT_OPAQUE));
    EngTexture quad2d;
    int tw = 4;
    int th = 4;
    ASSERT_TRUE(quad2d.CreateEmptyTexture2D(&tw, &th, false));
    FillEmptyTexture(quad2d, 255, 0, 0);

    BeginTestFrame(0, 0, 0);
    quad3d.PositionRatioed(160, 120, 320, 240);
    quad3d.Draw();
    quad2d.PositionRatioed(0, 0, 80, 60);
    quad2d.Draw();
    EndTestFrame();

    const int x0 = w / 4;
    const int y0 = h / 4;
    const int x1 = w * 3 / 4;
    const int y1 = h * 3 / 4;
    EXPECT_TRUE(PixelNear(gl.Pixel(x0 + 1, y0 + 1), 255, 255, 255));
    EXPECT_TRUE(PixelNear(gl.Pixel(x1 - 2, y1 - 2), 255, 255, 255));
    EXPECT_TRUE(PixelNear(gl.Pixel(x0 - 2, y0 + 5), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(x1 + 1, y1 - 5), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(x0 + 5, y1 + 1), 0, 0, 0));

    const int px = w / 8;
    const int py = h / 8;
    EXPECT_TRUE(PixelNear(gl.Pixel(px, py), 255, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(px + 1, py / 2), 0, 0, 0));
    EXPECT_TRUE(PixelNear(gl.Pixel(px / 2, py + 1), 0, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, TextureScale,
                         ::testing::Values(std::make_pair(640, 480), std::make_pair(800, 600),
                                           std::make_pair(1024, 768), std::make_pair(1280, 720)));
