#pragma once
// The race import: asks for the result list of the race chosen before
// (LastUser/erfassen) and writes it in one transaction.
namespace tarnis {

// Returns true when the import went past the file dialog and the overwrite
// question, so the participant grid must be read again (also after a failure).
bool EI_Import();

}  // namespace tarnis
