// The OpenGL entry points the render device uses, fetched from the context
// at start-up (members of one table, so no name clashes with the library).
#pragma once
#include <GL/glcorearb.h>

#define GR_GL_FUNCTIONS(X)                                            \
  X(PFNGLGETSTRINGPROC, GetString)                                    \
  X(PFNGLGETERRORPROC, GetError)                                      \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                                \
  X(PFNGLGETFLOATVPROC, GetFloatv)                                    \
  X(PFNGLENABLEPROC, Enable)                                          \
  X(PFNGLDISABLEPROC, Disable)                                        \
  X(PFNGLVIEWPORTPROC, Viewport)                                      \
  X(PFNGLSCISSORPROC, Scissor)                                        \
  X(PFNGLCLEARCOLORPROC, ClearColor)                                  \
  X(PFNGLCLEARDEPTHPROC, ClearDepth)                                  \
  X(PFNGLCLEARPROC, Clear)                                            \
  X(PFNGLCOLORMASKPROC, ColorMask)                                    \
  X(PFNGLDEPTHMASKPROC, DepthMask)                                    \
  X(PFNGLDEPTHFUNCPROC, DepthFunc)                                    \
  X(PFNGLBLENDFUNCPROC, BlendFunc)                                    \
  X(PFNGLBLENDEQUATIONPROC, BlendEquation)                            \
  X(PFNGLCULLFACEPROC, CullFace)                                      \
  X(PFNGLFRONTFACEPROC, FrontFace)                                    \
  X(PFNGLPROVOKINGVERTEXPROC, ProvokingVertex)                        \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                                \
  X(PFNGLREADPIXELSPROC, ReadPixels)                                  \
  X(PFNGLGENTEXTURESPROC, GenTextures)                                \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                          \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                                \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                            \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                                  \
  X(PFNGLTEXSUBIMAGE2DPROC, TexSubImage2D)                            \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                            \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                                \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                          \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                                \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)                    \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                        \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)                  \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                        \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)              \
  X(PFNGLFRAMEBUFFERRENDERBUFFERPROC, FramebufferRenderbuffer)        \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)          \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)                        \
  X(PFNGLGENRENDERBUFFERSPROC, GenRenderbuffers)                      \
  X(PFNGLDELETERENDERBUFFERSPROC, DeleteRenderbuffers)                \
  X(PFNGLBINDRENDERBUFFERPROC, BindRenderbuffer)                      \
  X(PFNGLRENDERBUFFERSTORAGEPROC, RenderbufferStorage)                \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                                  \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                            \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                                  \
  X(PFNGLBUFFERDATAPROC, BufferData)                                  \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                        \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)                  \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                        \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray)        \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)                \
  X(PFNGLVERTEXATTRIBIPOINTERPROC, VertexAttribIPointer)              \
  X(PFNGLDISABLEVERTEXATTRIBARRAYPROC, DisableVertexAttribArray)      \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                                  \
  X(PFNGLCREATESHADERPROC, CreateShader)                              \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                              \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                            \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                                \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)                      \
  X(PFNGLDELETESHADERPROC, DeleteShader)                              \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                            \
  X(PFNGLATTACHSHADERPROC, AttachShader)                              \
  X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)                  \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                                \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                              \
  X(PFNGLGETPROGRAMINFOLOGPROC, GetProgramInfoLog)                    \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                            \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                                  \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)                  \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                                    \
  X(PFNGLUNIFORM1FPROC, Uniform1f)                                    \
  X(PFNGLUNIFORM1IVPROC, Uniform1iv)                                  \
  X(PFNGLUNIFORM1FVPROC, Uniform1fv)                                  \
  X(PFNGLUNIFORM3FVPROC, Uniform3fv)                                  \
  X(PFNGLUNIFORMMATRIX4FVPROC, UniformMatrix4fv)

struct GRGLFunctions {
#define GR_GL_MEMBER(type, name) type name;
  GR_GL_FUNCTIONS(GR_GL_MEMBER)
#undef GR_GL_MEMBER
  PFNGLCLIPCONTROLPROC ClipControl;  // optional (OpenGL 4.5)
};

extern GRGLFunctions gl;

// Fetches the entry points from the current context; false when one is missing.
bool GRGL_Load();
