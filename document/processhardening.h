#pragma once

// Keeps a crash from writing the clear text and the file key to disk: no core
// file, and no attaching by another process of the same user. Call first
// thing in main, before any password is read.
void DisableCoreDumps();
