// Questions to the X server answered from memory, or asked together (see
// server_answers.cpp, which every program that links the editor contains).
#pragma once

// Ends the start-up answers: the keyboard and modifier mappings and the
// atoms found missing are asked for anew from now on. Called before the
// main loop reads the first event, from which on a change could be told.
void finish_start_up_answers(void);
