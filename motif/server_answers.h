// Questions to the X server answered from memory, or asked together (see
// server_answers.cpp, which every program that links the editor contains).
#pragma once

#include <dlfcn.h>

// The library's own function of that name, which the one of the same name
// here replaces for the toolkit.
template <typename Function>
Function xlib(const char *name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// From now on, a background's shadow and select colours are allocated
// together with it. Called once the toolkit has set up its display (Motif's
// colour calculation needs it).
void allocate_shadow_colours_together(void);

// Ends the start-up answers: the keyboard and modifier mappings and the
// atoms found missing are asked for anew from now on. Called before the
// main loop reads the first event, from which on a change could be told.
void finish_start_up_answers(void);
