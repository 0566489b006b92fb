#pragma once
// The program's stored-session editing: the stored-session editor opened
// from the session browser, its "Details..." editors, and the replay of a
// stored session in the inspection window.

// Installs the editor's viewer and "Details..." editors and the browser's
// hooks; removed again by removeStoredSessionEditing.
void installStoredSessionEditing();
void removeStoredSessionEditing();
