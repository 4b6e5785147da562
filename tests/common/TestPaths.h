// Where the test fixtures and the programs of this build are, from a source
// the build generates (TestPaths.cpp in the build tree): as compile
// definitions, the clone's folder would be in every test's compile line, and
// no test object of another clone would come from the compiler cache.
#pragma once

const char* TestFixturesDir();

// For tests that run zr470ctl or the editor as from a shell.
const char* Zr470CtlPath();
const char* Zr470Path();
