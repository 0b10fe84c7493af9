#pragma once

// Date and time of this build, as "Jul 21 2023 14:26:46".
const char* BuildDateTime();

// The program's version, as "0.9".
const char* ProgramVersion();
