#include "things/Hint.h"
const char* const hintTerminator = "Burmashave.";
Hint::Hint(int col, int row) : Thing(col, row) {}
Hint::~Hint() {}
void Hint::read(std::istream&) {}
int Hint::touch(Player*) { return 0; }
