#include "Graphics_API/Linux/GR_GL.h"

#include <SDL2/SDL.h>

#include "Base/Console.h"

GRGLFunctions gl;

bool GRGL_Load() {
  bool ok = true;
#define GR_GL_FETCH(type, name)                                                    \
  gl.name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));           \
  if (!gl.name) {                                                                  \
    g_Console.Output("OpenGL function gl%s is missing\n", #name);                  \
    ok = false;                                                                    \
  }
  GR_GL_FUNCTIONS(GR_GL_FETCH)
#undef GR_GL_FETCH
  gl.ClipControl = reinterpret_cast<PFNGLCLIPCONTROLPROC>(SDL_GL_GetProcAddress("glClipControl"));
  return ok;
}
