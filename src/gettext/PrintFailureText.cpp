#include "gettext/PrintFailureText.h"

#include "gettext/Translator.h"

namespace {

std::wstring reasonText(platform::PrintFailure::Reason reason)
{
    using Reason = platform::PrintFailure::Reason;
    switch (reason) {
    case Reason::None: break;
    case Reason::PrinterRefused: return translate("The printer did not take the job.");
    case Reason::FolderMissing: return translate("The folder does not exist.");
    case Reason::FolderNotWritable: return translate("The folder cannot be written.");
    case Reason::FileNotWritable: return translate("The file cannot be written.");
    case Reason::DiskFull: return translate("The disk is full.");
    case Reason::FileCut: return translate("The file could not be written to its end.");
    case Reason::NoReader: return translate("No program reads from the file.");
    case Reason::OpenFailed: return translate("The file could not be opened.");
    }
    return std::wstring();
}

} // namespace

std::wstring printFailureText(const std::wstring& sentence, const platform::PrintFailure& failure)
{
    std::wstring text = sentence;
    const std::wstring why = reasonText(failure.reason);
    if (!why.empty())
        text += L"\n\n" + why;
    if (!failure.file.isEmpty())
        text += L"\n" + failure.file.toStdWString();
    return text;
}
