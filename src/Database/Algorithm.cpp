#include "Database/Algorithm.h"
#include "Utillib/GString.h"

#include "Database/DbText.h"
#include "Database/SqlQuote.h"

Algorithm::Algorithm() { setDefaults(); }

void Algorithm::setDefaults()
{
    Name.clear();
    compDepthHigh = 50;
    compDepthLow = 40;
    compRelaxHigh = 60;
    compRelaxLow = 40;
    compRelaxRecc = 50;
    eccRateHigh = 110;
    eccRateLow = 90;
    initVent = 2;
    ventCompRatioDoubleComp = 5;
    ventCompRatioDoubleVent = 1;
    ventCompRatioSingleComp = 15;
    ventCompRatioSingleVent = 2;
    vRateHigh = 9;
    vRateLow = 6;
    vVolHigh = 0.6;
    vVolLow = 0.4;
    builtIn = false;
    pauseEccMax = 10;
}

bool Algorithm::operator==(const Algorithm& o) const
{
    return Name == o.Name && compDepthHigh == o.compDepthHigh && compDepthLow == o.compDepthLow
        && compRelaxHigh == o.compRelaxHigh && compRelaxLow == o.compRelaxLow && compRelaxRecc == o.compRelaxRecc
        && eccRateHigh == o.eccRateHigh && eccRateLow == o.eccRateLow && initVent == o.initVent
        && ventCompRatioDoubleComp == o.ventCompRatioDoubleComp && ventCompRatioDoubleVent == o.ventCompRatioDoubleVent
        && ventCompRatioSingleComp == o.ventCompRatioSingleComp && ventCompRatioSingleVent == o.ventCompRatioSingleVent
        && vRateHigh == o.vRateHigh && vRateLow == o.vRateLow && vVolHigh == o.vVolHigh && vVolLow == o.vVolLow
        && builtIn == o.builtIn && pauseEccMax == o.pauseEccMax;
}

bool Algorithm::keysEqual(const std::string& a, const std::string& b) { return dbtext::equalNoCase(a, b); }

std::wstring Algorithm::nameText() const { return GString::to_wstring(Name); }

void Algorithm::setNameText(const std::wstring& name) { Name = GString::to_string(name); }

std::string Algorithm::keyCondition(const std::string& column) const
{
    return (column.empty() ? std::string("name") : column) + " = '" + DBUtil::quote(Name) + "'";
}
