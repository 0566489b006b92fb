#include "ui/MaskedEditCore.h"

#include "Utillib/LogStream.h"

#include <algorithm>

namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool isLetter(char ch) { return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'); }

constexpr char maskCharacters[] = ".,:/#%A?><&";

} // namespace

bool CMaskData::IsValidInput(char ch) const
{
    switch (type) {
    case Digit: return isDigit(ch);
    case DigitOrPoint: return isDigit(ch) || ch == '.';
    case AlphaNumeric: return isDigit(ch) || isLetter(ch);
    case Letter:
    case UpperLetter:
    case LowerLetter: return isLetter(ch);
    case Printable: return ch >= 0x20 && ch <= 0x7E;
    default: return false;
    }
}

char CMaskData::PreProcessChar(char ch) const
{
    if (type == UpperLetter && ch >= 'a' && ch <= 'z')
        return static_cast<char>(ch - 32);
    if (type == LowerLetter && ch >= 'A' && ch <= 'Z')
        return static_cast<char>(ch + 32);
    return ch;
}

MaskedEditCore::MaskedEditCore(const char* mask, Separators separators)
    : separators(separators)
{
    SetMask(mask);
}

void MaskedEditCore::SetMask(const char* mask)
{
    maskData.clear();
    const std::string text = mask ? mask : "";
    for (std::size_t i = 0; i < text.size(); ++i) {
        CMaskData position;
        const char ch = text[i];
        const char* found = std::char_traits<char>::find(maskCharacters, sizeof maskCharacters - 1, ch);
        if (ch == '\\' && i + 1 < text.size()) {
            position.type = CMaskData::EscapedLiteral;
            position.character = text[++i];
        } else if (found) {
            position.type = static_cast<int>(found - maskCharacters);
            switch (position.type) {
            case CMaskData::DecimalSeparator: position.character = decimalSeparator; break;
            case CMaskData::ThousandsSeparator: position.character = separators.thousands; break;
            case CMaskData::TimeSeparator: position.character = separators.time; break;
            case CMaskData::DateSeparator: position.character = separators.date; break;
            default: position.character = promptSymbol; break;
            }
        } else {
            // A single backslash at the end stands for itself.
            position.type = CMaskData::Literal;
            position.character = ch;
        }
        maskData.push_back(position);
    }
    const std::string pszMask = text;
    LOG_ASSERT(GetMask() == pszMask);
    if (HasWindow())
        UpdateDisplay(0);
}

std::string MaskedEditCore::GetMask() const
{
    std::string mask;
    for (const CMaskData& position : maskData) {
        if (position.type == CMaskData::EscapedLiteral) {
            mask += '\\';
            mask += position.character;
        } else if (position.type == CMaskData::Literal) {
            mask += position.character;
        } else {
            mask += maskCharacters[position.type];
        }
    }
    return mask;
}

std::string MaskedEditCore::GetInputText() const
{
    std::string text;
    for (const CMaskData& position : maskData)
        if (position.IsInputType())
            text += position.character;
    return text;
}

std::string MaskedEditCore::GetDisplayText() const
{
    std::string text;
    for (const CMaskData& position : maskData)
        text += position.character;
    return text;
}

bool MaskedEditCore::SetInputText(const char* text, int startPosition, bool allowPrompt)
{
    const std::string current = GetInputText();
    std::string s = current.substr(0, std::min<std::size_t>(static_cast<std::size_t>(std::max(startPosition, 0)),
                                                            current.size()));
    for (const char* c = text ? text : ""; *c; ++c)
        if (allowPrompt || *c != promptSymbol)
            s += *c;
    bool ok = true;
    std::size_t next = 0;
    for (CMaskData& position : maskData) {
        if (!position.IsInputType())
            continue;
        // What the position gets when the text runs out, even while
        // characters are being skipped: it shows empty, never a stale character.
        position.character = promptSymbol;
        while (next < s.size()) {
            const char ch = s[next++];
            if (ch == promptSymbol || position.IsValidInput(ch)) {
                position.character = ch == promptSymbol ? ch : position.PreProcessChar(ch);
                break;
            }
            ok = false;
        }
    }
    if (HasWindow()) {
        ShowText(GetDisplayText());
        PlaceCaret(NextInputPosition(0));
    }
    return ok;
}

void MaskedEditCore::SetPromptSymbol(char symbol)
{
    const char chNULL = 0, chCR = 13, chLF = 10;
    const char chNewPromptSymbol = symbol;
    LOG_ASSERT((chNewPromptSymbol != chNULL) && (chNewPromptSymbol != chCR) && (chNewPromptSymbol != chLF) && (chNewPromptSymbol != 127));
    const bool allowed = symbol != chNULL && symbol != chCR && symbol != chLF && symbol != 127;
    if (allowed) {
        for (CMaskData& position : maskData)
            if (position.IsInputType() && position.character == promptSymbol)
                position.character = symbol;
        promptSymbol = symbol;
    }
    UpdateDisplay(-1);
}

void MaskedEditCore::ClearData(bool keepMask)
{
    if (keepMask) {
        for (CMaskData& position : maskData)
            if (position.IsInputType())
                position.character = promptSymbol;
    } else {
        maskData.clear();
    }
    UpdateDisplay(0);
}

bool MaskedEditCore::IsInputPosition(int pos) const
{
    return pos >= 0 && pos < PositionCount() && maskData[static_cast<std::size_t>(pos)].IsInputType();
}

int MaskedEditCore::NextInputPosition(int pos) const
{
    for (int p = std::max(pos, 0); p < PositionCount(); ++p)
        if (IsInputPosition(p))
            return p;
    return PositionCount();
}

int MaskedEditCore::PreviousInputPosition(int pos) const
{
    const int from = std::max(pos, 0);
    if (IsInputPosition(from))
        return from;
    for (int p = std::min(from, PositionCount()) - 1; p >= 0; --p)
        if (IsInputPosition(p))
            return p + 1;
    return NextInputPosition(pos);
}

int MaskedEditCore::FirstEmptyPosition(int pos) const
{
    for (int p = std::max(pos, 0); p < PositionCount(); ++p)
        if (IsInputPosition(p) && maskData[static_cast<std::size_t>(p)].character == promptSymbol)
            return p;
    return PositionCount();
}

void MaskedEditCore::UpdateDisplay(int caret)
{
    if (!HasWindow())
        return;
    ShowText(GetDisplayText());
    if (caret >= 0)
        PlaceCaret(NextInputPosition(caret));
}

int MaskedEditCore::DeleteRange(int start, int end)
{
    std::string kept;
    int removed = 0;
    for (int p = 0; p < PositionCount(); ++p) {
        if (!IsInputPosition(p))
            continue;
        if (p >= start && p < end)
            ++removed;
        else
            kept += maskData[static_cast<std::size_t>(p)].character;
    }
    if (removed > 0)
        SetInputText(kept.c_str(), 0, true);
    return removed;
}

int MaskedEditCore::InsertChar(int pos, char ch)
{
    const int at = NextInputPosition(pos);
    if (at >= PositionCount())
        return -1;
    const std::string old = GetInputText();
    std::string text;
    for (int p = 0; p < PositionCount(); ++p) {
        if (!IsInputPosition(p))
            continue;
        if (p == at)
            text += ch;
        text += maskData[static_cast<std::size_t>(p)].character;
    }
    // The last character falls off the end: there is no position left for it.
    if (SetInputText(text.c_str(), 0, true))
        return at;
    SetInputText(old.c_str(), 0, true);
    return -1;
}

int MaskedEditCore::PutChar(int pos, char ch)
{
    if (!IsInputPosition(pos))
        return pos;
    CMaskData& position = maskData[static_cast<std::size_t>(pos)];
    if (ch != promptSymbol && !position.IsValidInput(ch))
        return -1;
    position.character = ch == promptSymbol ? ch : position.PreProcessChar(ch);
    return pos;
}

void MaskedEditCore::OnCharacter(char ch, int start, int end)
{
    const unsigned char code = static_cast<unsigned char>(ch);
    if (ch == '\b') {
        int from = start, to = end;
        if (start == end) {
            if (start <= 0) {
                OnInvalidInput();
                UpdateDisplay(start);
                return;
            }
            from = start - 1;
        }
        if (DeleteRange(from, to) > 0) {
            UpdateDisplay(from);
        } else {
            OnInvalidInput();
            UpdateDisplay(from);
        }
        return;
    }
    if (code < 32)
        return;
    if (start != end) {
        if (DeleteRange(start, end) > 0) {
            int at = InsertChar(start, ch);
            if (at < 0)
                OnInvalidInput();
            UpdateDisplay(at < 0 ? start : at + 1);
        } else {
            OnInvalidInput();
            UpdateDisplay(start);
        }
        return;
    }
    if (!IsInputPosition(start)) {
        OnInvalidInput();
        UpdateDisplay(start);
        return;
    }
    int at = -1;
    if (insertMode) {
        at = InsertChar(start, ch);
    } else {
        CMaskData& position = maskData[static_cast<std::size_t>(start)];
        if (ch == promptSymbol || position.IsValidInput(ch)) {
            position.character = ch == promptSymbol ? ch : position.PreProcessChar(ch);
            at = start;
        }
    }
    if (at < 0) {
        OnInvalidInput();
        UpdateDisplay(start);
    } else {
        UpdateDisplay(at + 1);
    }
}

void MaskedEditCore::OnDeleteKey(int start, int end)
{
    if (start == end)
        end = start + 1;
    if (DeleteRange(start, end) <= 0)
        OnInvalidInput();
    UpdateDisplay(start);
}

int MaskedEditCore::CaretAfterMove(bool backwards, int caret) const
{
    return backwards ? PreviousInputPosition(caret) : NextInputPosition(caret);
}

void MaskedEditCore::OnPasted(const std::string& text, int oldStart)
{
    SetInputText(text.c_str(), 0, false);
    if (HasWindow()) {
        ShowText(GetDisplayText());
        PlaceCaret(FirstEmptyPosition(oldStart));
    }
}

void MaskedEditCore::OnCutOrClear(int start, int end)
{
    DeleteRange(start, end);
    UpdateDisplay(start);
}
