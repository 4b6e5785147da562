// Where the test fixtures are, from a source the build generates
// (TestPaths.cpp in the build tree): a compile definition would put the
// clone's folder into every test's compile line, and no test object of
// another clone would come from the compiler cache.
#pragma once

const char* TestFixturesDir();
