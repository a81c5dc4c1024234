#pragma once
// Detects a second copy of the program run by the same user.
#include <QString>

namespace tarnis {

// The lock file "Lrv. Tarnis.lock" in the user's runtime folder (else the temporary folder).
QString InstanceLockPath();

// Takes the lock on the first call and keeps it for the life of the process, so
// that a reload never finds its own copy. True when another process holds it.
bool AnotherCopyRunning();

// Gives the lock up (tests; the program keeps it until it ends).
void ReleaseInstanceLock();

}  // namespace tarnis
