#include "CPB/CPBSend.h"

#include "CPB/BarGenerator.h"
#include "CPB/DebriefGenerator.h"
#include "CPB/EventIconImages.h"
#include "CPB/GraphGenerator.h"
#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "config/LangStruct.h"
#include "gettext/ArgFormatter.h"
#include "config/PropertyModel.h"
#include "gettext/Translator.h"

namespace {

// Advances of one controller's bar, per mille.
constexpr int iconSlotAdvance = 23;
constexpr int icon32Advance = 14;
constexpr int icon24Advance = 9;
constexpr int configurationAdvance = 1;
constexpr int algorithmAdvance = 17;
constexpr int companyNameAdvance = 11;
constexpr int languagesAdvance = 1;
constexpr int plotData1Advance = 8;
constexpr int plotData2Advance = 9;
constexpr int screenAdvance = 88;
constexpr int barTableAdvance[BarGenerator::QUANTITIES] = { 15, 15, 30, 15, 30, 15, 15 };

// The screens in the order they are sent: algorithm, unit language, area.
struct Screen {
    int algorithm;
    int language;
    int area;
};
constexpr Screen screens[] = {
    { 1, 0, Pointer::DEBRIEF_ALG1_LANG0 }, { 1, 1, Pointer::DEBRIEF_ALG1_LANG1 },
    { 1, 2, Pointer::DEBRIEF_ALG1_LANG2 }, { 2, 0, Pointer::DEBRIEF_ALG2_LANG0 },
    { 2, 1, Pointer::DEBRIEF_ALG2_LANG1 }, { 2, 2, Pointer::DEBRIEF_ALG2_LANG2 },
};

// The stored guideline of that name, or the defaults under it when the table
// has none or cannot be opened.
Algorithm lookUp(const std::string& name)
{
    AlgorithmTable table(database);
    table.open(std::string());
    return table.findByName(name);
}

std::uint8_t iconByte(int number)
{
    return MemoryMap::encodeIconNumbers({ number }).front();
}

} // namespace

void CPBSend::step(int n)
{
    if (progress)
        progress->step(n);
}

void CPBSend::show(const char* text)
{
    if (progress)
        progress->setText(translate(text));
}

bool CPBSend::transfer(SerialPort& port, const PropertyModel& model)
{
    failure.clear();
    CPBComm comm(port);
    bool ok = comm.connect() == CPBComm::CONNECTED;
    struct Step {
        const char* text;
        bool (*run)(CPBSend&, CPBComm&, const PropertyModel&);
    };
    const Step steps[] = {
        { "Sending icons...", [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendIcons(c, m); } },
        { "Sending configuration...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendConfiguration(c, m); } },
        { "Sending algorithms...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendAlgorithms(c, m); } },
        { "Sending company name...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendCompanyName(c, m.getPrintHeading()); } },
        { "Sending languages...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendLanguages(c, m.languages); } },
        { "Sending plot data...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendPlotData(c, m); } },
        { "Sending debriefing...",
          [](CPBSend& s, CPBComm& c, const PropertyModel& m) { return s.sendDebriefing(c, m); } },
    };
    // After a failure the remaining texts still show, but nothing more is sent.
    for (const Step& s : steps) {
        show(s.text);
        if (ok)
            ok = s.run(*this, comm, model);
    }
    // Closing only a port the connect opened: one that was open already
    // belongs to someone else. The close's result does not change the outcome.
    comm.disconnect();
    return ok;
}

// --- icons ----------------------------------------------------------------------------------

ByteVector CPBSend::renderIcon32(int number)
{
    return IconRendering::deviceIcon32(EventIconImages::installed(), number);
}

ByteVector CPBSend::renderIcon24(int number)
{
    return IconRendering::deviceIcon24(EventIconImages::installed(), number);
}

bool CPBSend::sendIcon(CPBComm& comm, int slot, int number)
{
    if (!comm.writeMemory(Pointer::get(Pointer::ICON32_0 + slot), renderIcon32(number), TRIES))
        return false;
    step(icon32Advance);
    if (!comm.writeMemory(Pointer::get(Pointer::ICON24_0 + slot), renderIcon24(number), TRIES))
        return false;
    step(icon24Advance);
    return true;
}

bool CPBSend::sendIcons(CPBComm& comm, const PropertyModel& model)
{
    ByteVector unit;
    if (!comm.readMemory(Pointer::get(Pointer::ICON_NUMBERS), NUMBER_OF_ICONS, unit, TRIES))
        return false;
    LOG_ASSERT(unit.size() == NUMBER_OF_ICONS);
    if (unit.size() != NUMBER_OF_ICONS)
        return false;
    for (int i = 0; i < NUMBER_OF_ICONS; ++i) {
        const int number = model.getIconNumber(i);
        const std::uint8_t wanted = iconByte(number);
        std::uint8_t& stored = unit[static_cast<std::size_t>(i)];
        // A slot is recognised by its number alone: an unchanged one costs no bitmaps.
        if (stored == wanted) {
            step(iconSlotAdvance);
            continue;
        }
        if (!sendIcon(comm, i, number))
            return false;
        stored = wanted;
    }
    return comm.writeMemory(Pointer::get(Pointer::ICON_NUMBERS), unit, TRIES);
}

// --- configuration, algorithms, texts ----------------------------------------------------------

bool CPBSend::sendConfiguration(CPBComm& comm, const PropertyModel& model)
{
    ByteVector flags = MemoryMap::encodeConfigFlags(model);
    step(configurationAdvance);
    return comm.writeMemory(Pointer::get(Pointer::CONFIG_FLAGS), flags, TRIES);
}

bool CPBSend::writeText(CPBAdr adr, const std::string& text, int padWidth, CPBComm& comm)
{
    ByteVector bytes;
    if (padWidth > 0) {
        bytes = MemoryMap::blankPadded(text, static_cast<std::size_t>(padWidth));
    } else {
        bytes.assign(text.begin(), text.end());
        bytes.push_back(0);
    }
    return comm.writeMemory(adr, bytes, TRIES);
}

bool CPBSend::writeFloats(const std::vector<float>& numbers, CPBAdr adr, CPBComm& comm)
{
    ByteVector bytes;
    for (float number : numbers) {
        ByteVector four = MemoryMap::floatBytes(number);
        bytes.insert(bytes.end(), four.begin(), four.end());
    }
    return comm.writeMemory(adr, bytes, TRIES);
}

bool CPBSend::sendAlgorithmValues(CPBComm& comm, const Algorithm& a, CPBAdr block)
{
    auto f = [](double v) { return static_cast<float>(v); };
    return writeFloats({ static_cast<float>(a.initVent) }, block + 0, comm)
        && writeFloats({ f(a.vRateLow), f(a.vRateHigh) }, block + 4, comm)
        && writeFloats({ f(a.vVolLow), f(a.vVolHigh) }, block + 12, comm)
        && writeFloats({ f(a.eccRateLow), f(a.eccRateHigh) }, block + 40, comm)
        && writeFloats({ f(a.compDepthLow), f(a.compDepthHigh) }, block + 64, comm);
}

bool CPBSend::sendAlgorithm(CPBComm& comm, const std::string& name, int nameArea, int block)
{
    const CPBAdr blockAdr = Pointer::get(block);
    // The name at +0x80 keeps its 0 byte inside the block.
    const std::string blockName
        = MemoryMap::cutText(name, MemoryMap::ALGORITHM_BLOCK_SIZE - MemoryMap::ALGORITHM_NAME_OFFSET - 1);
    if (!writeText(Pointer::get(nameArea), name, static_cast<int>(MemoryMap::ALGORITHM_NAME_SIZE), comm)
        || !writeText(blockAdr + MemoryMap::ALGORITHM_NAME_OFFSET, blockName, 0, comm))
        return false;
    LOG_ASSERT(!name.empty());
    if (name.empty())
        return false;
    return sendAlgorithmValues(comm, lookUp(name), blockAdr);
}

bool CPBSend::sendAlgorithms(CPBComm& comm, const PropertyModel& model)
{
    bool ok = sendAlgorithm(comm, model.getAlgorithm1Name(), Pointer::ALGORITHM_NAME_1, Pointer::ALGORITHM_1);
    step(algorithmAdvance);
    if (ok)
        ok = sendAlgorithm(comm, model.getAlgorithm2Name(), Pointer::ALGORITHM_NAME_2, Pointer::ALGORITHM_2);
    step(algorithmAdvance);
    return ok;
}

bool CPBSend::sendCompanyName(CPBComm& comm, const std::wstring& printHeading)
{
    step(companyNameAdvance);
    // Cut to the area before the first algorithm block, whose values are already sent.
    const std::string text
        = MemoryMap::cutText(GString::to_string(printHeading, 0), MemoryMap::COMPANY_NAME_ROOM - 1);
    return writeText(Pointer::get(Pointer::COMPANY_NAME), text.substr(0, text.find('\0')), 0, comm);
}

bool CPBSend::sendLanguages(CPBComm& comm, const std::vector<std::string>& languageCodes)
{
    ByteVector numbers = MemoryMap::encodeLanguageNumbers(languageCodes);
    numbers.resize(3, MemoryMap::NO_LANGUAGE);
    for (int i = 0; i < 3; ++i) {
        const std::uint8_t index = numbers[static_cast<std::size_t>(i)];
        // A language the table lacks has no name: its text is all blanks.
        const std::string name
            = index == MemoryMap::NO_LANGUAGE ? std::string() : GString::to_string(LangStruct::nameAt(index), 0);
        if (!writeText(Pointer::get(Pointer::LANGUAGE_TEXT_0 + i), name,
                       static_cast<int>(MemoryMap::LANGUAGE_TEXT_SIZE), comm))
            return false;
    }
    if (!comm.writeMemory(Pointer::get(Pointer::LANGUAGE_NUMBERS), numbers, TRIES))
        return false;
    step(languagesAdvance);
    return true;
}

// --- plot data, screens, bars -----------------------------------------------------------------

bool CPBSend::sendPlotData(CPBComm& comm, const PropertyModel& model)
{
    auto plot = [](const Algorithm& a) {
        return GraphGenerator(static_cast<float>(a.compDepthLow), static_cast<float>(a.compDepthHigh),
                              static_cast<float>(a.vVolLow), static_cast<float>(a.vVolHigh))
            .getData();
    };
    const std::string name1 = model.getAlgorithm1Name();
    LOG_ASSERT(!name1.empty());
    bool ok = !name1.empty() && comm.writeMemory(Pointer::get(Pointer::PLOT_DATA_1), plot(lookUp(name1)), TRIES);
    step(plotData1Advance);
    const std::string name2 = model.getAlgorithm2Name();
    LOG_ASSERT(!name2.empty());
    if (name2.empty())
        ok = false;
    if (ok)
        ok = comm.writeMemory(Pointer::get(Pointer::PLOT_DATA_2), plot(lookUp(name2)), TRIES);
    step(plotData2Advance);
    return ok;
}

bool CPBSend::sendBars(CPBComm& comm, const BarGenerator& bars, CPBAdr area)
{
    bool ok = true;
    for (int q = 0; q < BarGenerator::QUANTITIES; ++q) {
        if (ok)
            ok = comm.writeMemory(area + MemoryMap::barTableOffsets[static_cast<std::size_t>(q)], bars.barData(q),
                                  TRIES);
        step(barTableAdvance[q]);
    }
    return ok;
}

bool CPBSend::sendDebriefing(CPBComm& comm, const PropertyModel& model)
{
    const BarGenerator bars1(model, 1);
    const BarGenerator bars2(model, 2);
    bool ok = true;
    for (const Screen& s : screens) {
        if (ok) {
            const BarGenerator& bars = s.algorithm == 1 ? bars1 : bars2;
            const std::string name = s.algorithm == 1 ? model.getAlgorithm1Name() : model.getAlgorithm2Name();
            const std::string code = model.getLanguage(s.language);
            const int language = LangStruct::indexOf(code);
            DebriefGenerator screen(model, language, &bars, name);
            // A screen too long for its place is refused, never written into
            // the next one. Sending again cannot help: the user is told which
            // screen it is and what makes it long.
            if (!screen.fitsSlot()) {
                const int size = static_cast<int>(screen.getData().size());
                LogStream::instance() << "A debriefing screen of " << size << " bytes does not fit the CPR Controller's "
                                      << Pointer::room(s.area) << " bytes; the setup is not sent further"
                                      << LogStream::endl;
                const std::wstring languageName = language < 0 ? GString::to_wstring(code, 0) : LangStruct::nameAt(language);
                failure = ArgFormatter("The debriefing screen of [0] in [1] is [2] bytes too long for the CPR "
                                       "Controller: shorten the legend texts.")
                              .add(name)
                              .add(languageName)
                              .add(size - static_cast<int>(DebriefGenerator::SLOT_SIZE))
                              .text();
            }
            ok = screen.fitsSlot() && comm.writeMemory(Pointer::get(s.area), screen.getData(), TRIES);
        }
        step(screenAdvance);
    }
    if (!ok)
        return false;
    return sendBars(comm, bars1, Pointer::get(Pointer::BAR_DATA_1))
        && sendBars(comm, bars2, Pointer::get(Pointer::BAR_DATA_2));
}
