#include "CPB/windows/CPBGet.h"

#include "CPB/MemoryMap.h"
#include "CPB/Pointer.h"
#include "CPB/windows/ProgressDialog.h"
#include "CPB/windows/TransferPump.h"
#include "Database/AlgorithmTable.h"
#include "Database/AlgorithmValues.h"
#include "Database/Database.h"
#include "Utillib/GString.h"
#include "Utillib/LogStream.h"
#include "comm/CalibrateManager.h"
#include "comm/SerialPort.h"
#include "config/PropertyModel.h"
#include "gettext/Translator.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int tries = 10;
// No setting the unit carries comes near this.
constexpr double largestValue = 1e6;

} // namespace

void CPBGet::step(int n)
{
    if (progress)
        progress->step(n);
}

void CPBGet::showText(const char* text)
{
    if (progress)
        progress->setText(translate(text));
}

bool CPBGet::get(int port, PropertyModel* model, QWidget* parent)
{
    LOG_ASSERT(model != 0);
    SerialPort* serial = CalibrateManager::get().getSerialPort(port);
    LOG_ASSERT(serial != 0);
    if (!model || !serial)
        return false;
    TransferPump pump;
    CPBComm comm(*serial);

    auto* window = new ProgressDialog;
    if (!window->create(parent)) {
        LogStream::instance() << "The progress window of a get could not be created" << LogStream::endl;
        delete window;
        return false;
    }
    progress = window;
    window->setCaption(translate("Tavo CPR Controller on COM") + GString::from_int(port));
    window->enableButton(false);
    window->show();

    bool ok = comm.connect() == CPBComm::CONNECTED;
    struct Step {
        const char* text;
        bool (CPBGet::*run)(PropertyModel*, CPBComm&);
    };
    const Step steps[] = {
        { "Receiving icons...", &CPBGet::getIcons },
        { "Receiving languages...", &CPBGet::getLanguages },
        { "Receiving configuration...", &CPBGet::getConfiguration },
        { "Receiving algorithms...", &CPBGet::getAlgorithms },
        { "Receiving company name...", &CPBGet::getCompanyName },
    };
    for (const Step& s : steps) {
        showText(s.text);
        if (ok)
            ok = (this->*s.run)(model, comm);
    }
    // A port that does not close cleanly is a failed reading too.
    const bool closed = comm.disconnect();
    ok = ok && closed;

    if (progress) {
        progress->setButtonText(translate("Close"));
        progress->setText(ok ? translate("Transfer done.") : translate("An error occurred, please try again."));
        progress->enableButton(true);
    }
    return ok;
}

bool CPBGet::getIcons(PropertyModel* model, CPBComm& comm)
{
    ByteVector bytes;
    if (!comm.readMemory(Pointer::get(Pointer::ICON_NUMBERS), NUMBER_OF_ICONS, bytes, tries))
        return false;
    LOG_ASSERT(bytes.size() == NUMBER_OF_ICONS);
    if (bytes.size() != NUMBER_OF_ICONS)
        return false;
    const std::vector<int> icons = MemoryMap::decodeIconNumbers(bytes);
    for (int i = 0; i < NUMBER_OF_ICONS; ++i)
        if (icons[static_cast<std::size_t>(i)] != MemoryMap::NO_ICON)
            model->setIconNumber(i, icons[static_cast<std::size_t>(i)]);
    step(30);
    return true;
}

bool CPBGet::getLanguages(PropertyModel* model, CPBComm& comm)
{
    ByteVector bytes;
    if (!comm.readMemory(Pointer::get(Pointer::LANGUAGE_NUMBERS), PropertyModel::languageCount, bytes, tries))
        return false;
    LOG_ASSERT(bytes.size() == PropertyModel::languageCount);
    if (bytes.size() != PropertyModel::languageCount)
        return false;
    // No codes at all when the unit has no languages set.
    const std::vector<std::string> codes = MemoryMap::decodeLanguageNumbers(bytes);
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (!codes[i].empty())
            model->setLanguage(static_cast<int>(i), codes[i]);
    step(15);
    return true;
}

bool CPBGet::getConfiguration(PropertyModel* model, CPBComm& comm)
{
    ByteVector bytes;
    if (!comm.readMemory(Pointer::get(Pointer::CONFIG_FLAGS), 3, bytes, tries))
        return false;
    LOG_ASSERT(bytes.size() == 3);
    if (bytes.size() != 3)
        return false;
    MemoryMap::decodeConfigFlags(bytes, *model);
    step(15);
    return true;
}

bool CPBGet::getAlgorithms(PropertyModel* model, CPBComm& comm)
{
    struct Block {
        int block;
        void (PropertyModel::*setName)(const std::string&);
    };
    const Block blocks[] = {
        { Pointer::ALGORITHM_1, &PropertyModel::setAlgorithm1Name },
        { Pointer::ALGORITHM_2, &PropertyModel::setAlgorithm2Name },
    };
    // The name follows the values in its block and may fill the rest of the
    // memory up to the next area.
    const int nameRooms[] = {
        Pointer::get(Pointer::ALGORITHM_2).getAdr() - Pointer::get(Pointer::ALGORITHM_1).getAdr() - MemoryMap::ALGORITHM_NAME_OFFSET,
        Pointer::get(Pointer::CONFIG_FLAGS).getAdr() - Pointer::get(Pointer::ALGORITHM_2).getAdr() - MemoryMap::ALGORITHM_NAME_OFFSET,
    };
    bool ok = true;
    for (int i = 0; i < 2; ++i) {
        if (ok) {
            std::string name;
            const CPBAdr nameAdr = Pointer::get(blocks[i].block) + MemoryMap::ALGORITHM_NAME_OFFSET;
            ok = readText(nameAdr, nameRooms[i], comm, name);
            if (ok && name.empty()) {
                // A unit without this algorithm: nothing to store.
                step(170);
            } else if (ok) {
                // The setup names only an algorithm whose values were stored.
                ok = storeAlgorithm(name, blocks[i].block, comm);
                // The member is taken out of the array first: called straight
                // from an array element, GCC 12's bounds sanitizer reads the
                // index from a slot that only the virtual-call branch fills.
                const auto setName = blocks[i].setName;
                if (ok)
                    (model->*setName)(name);
            }
        }
        step(200);
    }
    return ok;
}

bool CPBGet::getCompanyName(PropertyModel* model, CPBComm& comm)
{
    std::string text;
    if (!readText(Pointer::get(Pointer::COMPANY_NAME), Pointer::room(Pointer::COMPANY_NAME), comm, text))
        return false;
    model->printHeading = GString::to_wstring(text, 0);
    if (progress)
        progress->setPos(ProgressDialog::maxPos);
    return true;
}

bool CPBGet::readText(CPBAdr adr, int room, CPBComm& comm, std::string& text)
{
    text.clear();
    // A package's worth at a time; the text ends at its first 0x00 or 0xFF.
    for (int i = 0; i < room;) {
        const int length = std::min(MAXDATA, room - i);
        ByteVector block;
        if (!comm.readMemory(adr + i, length, block, tries) || static_cast<int>(block.size()) != length)
            return false;
        for (std::uint8_t byte : block) {
            if (byte == 0x00 || byte == 0xFF)
                return true;
            text.push_back(static_cast<char>(byte));
        }
        i += length;
    }
    // No end within the area: what was read is not a text the program wrote.
    LogStream::instance() << "A text on the CPR Controller has no end within its " << room << " bytes"
                          << LogStream::endl;
    return false;
}

bool CPBGet::readFloats(CPBAdr adr, int count, CPBComm& comm, std::vector<float>& values)
{
    values.clear();
    ByteVector bytes;
    if (!comm.readMemory(adr, count * 4, bytes, tries) || bytes.size() < static_cast<std::size_t>(count) * 4)
        return false;
    for (int i = 0; i < count; ++i)
        values.push_back(MemoryMap::floatAt(bytes, static_cast<std::size_t>(i) * 4));
    return true;
}

bool CPBGet::roundValue(float value, double& rounded)
{
    const double v = value;
    if (!std::isfinite(v) || std::fabs(v) > largestValue)
        return false;
    rounded = std::trunc(v * 100 + 0.5) / 100;
    return true;
}

bool CPBGet::storeAlgorithm(const std::string& name, int block, CPBComm& comm)
{
    const CPBAdr base = Pointer::get(block);
    struct Read {
        int offset;
        int count;
        int advance;
    };
    const Read reads[] = { { 0, 1, 18 }, { 4, 2, 38 }, { 12, 2, 38 }, { 40, 2, 38 }, { 64, 2, 38 } };
    std::vector<double> numbers;
    bool ok = true;
    for (const Read& r : reads) {
        if (ok) {
            std::vector<float> values;
            ok = readFloats(base + r.offset, r.count, comm, values);
            for (std::size_t i = 0; ok && i < values.size(); ++i) {
                double rounded = 0;
                ok = roundValue(values[i], rounded);
                numbers.push_back(rounded);
            }
        }
        step(r.advance);
    }
    if (!ok) {
        LogStream::instance() << "The values of algorithm '" << name << "' could not be read from the CPR Controller"
                              << LogStream::endl;
        return false;
    }
    return storeValues(name, numbers);
}

bool CPBGet::storeValues(const std::string& name, const std::vector<double>& numbers)
{
    // Another station may store the same guideline from its unit at this
    // moment: the look for the name and the write hold the database's write
    // lock together, so that the second station updates the first one's row
    // instead of adding the name again.
    Database& db = database;
    const bool ownTransaction = !db.inTransaction();
    if (ownTransaction && !db.beginTransaction()) {
        LogStream::instance() << "Algorithm '" << name << "' could not be stored: " << db.lastError().text
                              << LogStream::endl;
        return false;
    }
    bool stored = writeValues(name, numbers);
    if (!ownTransaction)
        return stored;
    if (stored && !db.commit()) {
        LogStream::instance() << "Algorithm '" << name << "' could not be stored: " << db.lastError().text
                              << LogStream::endl;
        stored = false;
    }
    if (!stored)
        db.rollback();
    return stored;
}

bool CPBGet::writeValues(const std::string& name, const std::vector<double>& numbers)
{
    if (numbers.size() < 9)
        return false;
    AlgorithmTable table(database);
    if (!table.open(std::string()))
        return false;
    // A stored guideline keeps everything the unit does not carry, its name
    // and its built-in flag; a new one starts from the defaults.
    const bool exists = table.count(name) > 0;
    Algorithm record = exists ? table.findByName(name) : Algorithm();
    if (!exists) {
        record.Name = name;
        record.builtIn = false;
    }
    record.initVent = static_cast<std::int32_t>(numbers[0]);
    record.vRateLow = numbers[1];
    record.vRateHigh = numbers[2];
    record.vVolLow = numbers[3];
    record.vVolHigh = numbers[4];
    record.eccRateLow = numbers[5];
    record.eccRateHigh = numbers[6];
    record.compDepthLow = numbers[7];
    record.compDepthHigh = numbers[8];
    // A value the guideline editor would not keep is no setting the program
    // sent: the guideline is refused whole.
    using namespace algorithmValues;
    if (!initVentRange.holds(record.initVent)) {
        LogStream::instance() << "Algorithm '" << name << "' on the CPR Controller has initVent " << record.initVent
                              << ", outside " << initVentRange.low << " to " << initVentRange.high
                              << "; it is not stored" << LogStream::endl;
        return false;
    }
    const struct {
        const char* field;
        double Algorithm::*member;
        Range range;
    } fromUnit[] = {
        { "vRateLow", &Algorithm::vRateLow, vRateRange },
        { "vRateHigh", &Algorithm::vRateHigh, vRateRange },
        { "vVolLow", &Algorithm::vVolLow, vVolRange },
        { "vVolHigh", &Algorithm::vVolHigh, vVolRange },
        { "eccRateLow", &Algorithm::eccRateLow, eccRateRange },
        { "eccRateHigh", &Algorithm::eccRateHigh, eccRateRange },
        { "compDepthLow", &Algorithm::compDepthLow, compDepthRange },
        { "compDepthHigh", &Algorithm::compDepthHigh, compDepthRange },
    };
    for (const auto& check : fromUnit)
        if (!check.range.holds(record.*check.member)) {
            LogStream::instance() << "Algorithm '" << name << "' on the CPR Controller has " << check.field << " "
                                  << record.*check.member << ", outside " << check.range.low << " to "
                                  << check.range.high << "; it is not stored" << LogStream::endl;
            return false;
        }
    // Nor would the editor keep a low limit above its high one: no session
    // could meet such a band. Only pairs the unit carries are its to answer
    // for; the others are the stored row's.
    auto carried = [&](double Algorithm::*member) {
        return std::any_of(std::begin(fromUnit), std::end(fromUnit),
                           [member](const auto& check) { return check.member == member; });
    };
    for (const LimitPair& pair : limitPairs)
        if (carried(pair.low) && carried(pair.high) && !pair.ordered(record)) {
            LogStream::instance() << "Algorithm '" << name << "' on the CPR Controller has " << pair.lowName << " "
                                  << format(record.*pair.low) << " above " << pair.highName << " "
                                  << format(record.*pair.high) << "; it is not stored" << LogStream::endl;
            return false;
        }
    if (!(exists ? table.Edit() : table.AddNew()))
        return false;
    table.setRecord(record);
    if (!table.Update()) {
        LogStream::instance() << "Algorithm '" << name << "' could not be stored: " << table.lastError().text
                              << LogStream::endl;
        return false;
    }
    return true;
}
