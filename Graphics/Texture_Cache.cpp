#include "Graphics/Texture_Cache.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <SDL/SDL.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include "Graphics/Image_Bank.h"

namespace
{

GLuint NewTexture(GLint filter)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return texture;
}

// A texture the size of the given rectangle of the frame buffer, ready to be copied into.
GLuint MakeCopyTexture(int width, int height, GLint filter)
{
    GLuint texture = NewTexture(filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR)
    {
        glDeleteTextures(1, &texture);
        return 0;
    }
    return texture;
}

// OpenGL's frame buffer objects, from the extension (any compatibility context has it
// where the renderer can) or the 3.0 core names; looked up for each context.
struct Framebuffer_Calls
{
    PFNGLGENFRAMEBUFFERSEXTPROC mGen = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC mDelete = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC mBind = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC mAttach = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC mStatus = nullptr;

    bool Load()
    {
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const bool ext = extensions && std::strstr(extensions, "GL_EXT_framebuffer_object");
        const bool core = version && std::atoi(version) >= 3;
        if (!ext && !core)
            return false;
        const auto find = [ext](const char* name)
        { return SDL_GL_GetProcAddress((std::string(name) + (ext ? "EXT" : "")).c_str()); };
        mGen = reinterpret_cast<PFNGLGENFRAMEBUFFERSEXTPROC>(find("glGenFramebuffers"));
        mDelete = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSEXTPROC>(find("glDeleteFramebuffers"));
        mBind = reinterpret_cast<PFNGLBINDFRAMEBUFFEREXTPROC>(find("glBindFramebuffer"));
        mAttach = reinterpret_cast<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC>(find("glFramebufferTexture2D"));
        mStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC>(find("glCheckFramebufferStatus"));
        return mGen && mDelete && mBind && mAttach && mStatus;
    }
} gFramebuffers;

} // namespace

bool Texture_Cache::DrawToWorld(int width, int height)
{
    if (!mWorldTargetAllowed)
        return false;
    if (mWorldTarget == 0 && !mWorldTargetTried)
    {
        mWorldTargetTried = true;
        if (gFramebuffers.Load())
        {
            GLuint target = 0;
            gFramebuffers.mGen(1, &target);
            mWorldTarget = target;
        }
    }
    if (mWorldTarget == 0)
        return false;
    // A new size makes a new texture (which may reuse the old one's name), and the
    // frame buffer must draw into that instead.
    const bool attached = mCopies[SCALED_WORLD].mTexture != 0 && mWorldTargetAttached &&
                          mCopies[SCALED_WORLD].mWidth == width && mCopies[SCALED_WORLD].mHeight == height;
    const GLuint texture = FrameCopy(SCALED_WORLD, width, height);
    gFramebuffers.mBind(GL_FRAMEBUFFER_EXT, mWorldTarget);
    if (attached)
        return true;
    if (texture != 0)
        gFramebuffers.mAttach(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
    if (texture != 0 && gFramebuffers.mStatus(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT)
    {
        mWorldTargetAttached = true;
        return true;
    }
    // Not one this renderer draws into: the window and a copy from now on.
    gFramebuffers.mBind(GL_FRAMEBUFFER_EXT, 0);
    gFramebuffers.mDelete(1, &mWorldTarget);
    mWorldTarget = 0;
    mWorldTargetAttached = false;
    return false;
}

void Texture_Cache::DrawToWindow()
{
    if (gFramebuffers.mBind)
        gFramebuffers.mBind(GL_FRAMEBUFFER_EXT, 0);
}

uint32_t Texture_Cache::Crossfade(const Image_Entry& below, const Image_Entry& above, float alpha)
{
    if (!below.mOpaque || !above.mOpaque || below.mTexture == 0 || above.mTexture == 0 ||
        below.mPixelWidth != above.mPixelWidth || below.mPixelHeight != above.mPixelHeight)
        return 0;
    alpha = std::min(1.0f, std::max(0.0f, alpha));
    const auto key = std::make_tuple(below.mTexture, above.mTexture, alpha);
    const auto found = mCrossfades.find(key);
    if (found != mCrossfades.end())
        return found->second;

    const size_t texels = static_cast<size_t>(below.mPixelWidth) * static_cast<size_t>(below.mPixelHeight);
    std::vector<unsigned char> bottom(texels * 4), top(texels * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, below.mTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bottom.data());
    glBindTexture(GL_TEXTURE_2D, above.mTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, top.data());
    // As blending rounds it: over * alpha + under * (1 - alpha). Both are opaque, so
    // the result is too.
    for (size_t i = 0; i < bottom.size(); ++i)
        bottom[i] = static_cast<unsigned char>(top[i] * alpha + bottom[i] * (1.0f - alpha) + 0.5f);

    const GLuint texture = NewTexture(GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(below.mPixelWidth),
                 static_cast<GLsizei>(below.mPixelHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE, bottom.data());
    mCrossfades[key] = texture;
    return texture;
}

void Texture_Cache::ForgetCrossfades()
{
    // Only ever filled while there is a GL context.
    for (const auto& made : mCrossfades)
        glDeleteTextures(1, &made.second);
    mCrossfades.clear();
}

uint32_t Texture_Cache::FrameCopy(Frame_Copy copy, int width, int height)
{
    Copy& made = mCopies[copy];
    if (made.mTexture != 0 && (width != made.mWidth || height != made.mHeight))
    {
        glDeleteTextures(1, &made.mTexture);
        made.mTexture = 0;
    }
    if (made.mTexture == 0)
        made = Copy{MakeCopyTexture(width, height, copy == KEPT_PICTURE ? GL_NEAREST : GL_LINEAR), width,
                    height};
    return made.mTexture;
}

void Texture_Cache::Drop(bool contextLost)
{
    if (contextLost)
        mCrossfades.clear();
    ForgetCrossfades();
    if (mWorldTarget != 0 && !contextLost)
    {
        DrawToWindow();
        gFramebuffers.mDelete(1, &mWorldTarget);
    }
    mWorldTarget = 0;
    mWorldTargetAttached = false;
    mWorldTargetTried = false;
    for (Copy& made : mCopies)
    {
        if (made.mTexture != 0 && !contextLost)
            glDeleteTextures(1, &made.mTexture);
        made = Copy{};
    }
}
