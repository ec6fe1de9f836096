#pragma once

#include <string>

// Names the built program that the end-to-end tests run, as given on their command line.
const std::string& ProgramUnderTest();
