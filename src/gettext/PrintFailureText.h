#pragma once
// The text of the box that tells a print job failed: the printout's own
// sentence, then why the job failed and the file it wrote to, in the user's
// language.
#include "platformqt/PrintJob.h"

#include <string>

// `sentence` is already translated ("The printout could not be finished.").
std::wstring printFailureText(const std::wstring& sentence, const platform::PrintFailure& failure);
