#pragma once
// Beside the module table: which modules were marked faulty because a locate got no answer.
// A mark lasts until the module's next reply is applied to its record.
void MarkLocateFailed(int id);
void ClearLocateFailed(int id);
bool LocateFailed(int id);
void ClearAllLocateFailures();
