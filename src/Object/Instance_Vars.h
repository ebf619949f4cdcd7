// Copies of variable lists and their form in save games.
#pragma once

class CVariableList;
class CStream;

// Replaces dst's variables with deep copies of src's (texts copied, not shared).
void VarList_CopyInto(CVariableList* dst, const CVariableList* src);
void VarList_Write(CStream& s, const CVariableList* vars);
// Reads a list written by VarList_Write into an empty list; false when the
// stream does not hold a well-formed list.
bool VarList_Read(CStream& s, CVariableList* vars);
