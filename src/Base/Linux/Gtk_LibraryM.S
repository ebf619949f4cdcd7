/* The program's entries for the functions of GTK (Gtk_LibraryM.h): each one
   jumps through its pointer, leaving the arguments as the caller set them, so
   that any signature, variadic ones too, passes unchanged. Hidden: GTK's own
   calls never come here. */
#if defined(__x86_64__)
        .text
#define GTK_FUNCTION(name) \
        .globl name; .hidden name; .type name, @function; .p2align 3; \
name:   jmp *Gtk_Pointer_##name(%rip); .size name, .-name;
#include "Base/Linux/Gtk_Functions.h"
#endif
        .section .note.GNU-stack,"",@progbits
