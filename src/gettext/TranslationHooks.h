#pragma once
// The helpers below the translation layer that show words (durations, word
// wrap) ask it through functions it installs here. The program's start-up
// calls this once, next to loading the language; so do tests that need it.
void installTranslationHooks();
