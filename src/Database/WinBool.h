#pragma once
// The boolean constants that some consistency checks are written with.
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
