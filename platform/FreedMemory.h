#pragma once

// Gives the heap's free pages back to the system. Making the window leaves much of the heap
// free but held (the interface's compilation, decoded pictures' buffers); a program that stays
// up for hours to follow the active application should not keep it.
void returnFreedMemory();
