#pragma once

#include "model/CLamp.h"
#include "model/CLuminaire.h"

#include <string>
#include <vector>

class CLampSystem;
class CLuminaireLamp;
class MakerWorkbook;

namespace kzev {

/**
 * The document's catalogue lists as the resolution works on them: the loaded
 * luminaires and lamps (which only grow), the block prefix, the sibling
 * module's legend keys and names, and the manufacturer numbers and names.
 * The document builds one from its members for each call.
 */
struct LuminaireLists {
    std::vector<CLuminaire>& luminaires;
    std::vector<CLamp>& lamps;
    const std::string& blockPrefix;
    const std::vector<std::string>& legendKeys;
    const std::vector<std::string>& legendNames;
    const std::vector<std::string>& manufacturerNumbers;
    const std::vector<std::string>& manufacturerNames;
};

/**
 * Finds or loads the system's luminaire by its identity pair and writes its
 * list index and description into the system; 1 when the luminaire is in the
 * list afterwards. A pair below 1 gives "Není vybráno svítidlo !" (when
 * showMessages is 1); a failed load leaves the list and the system unchanged.
 */
int resolveLuminaire(LuminaireLists& lists, CLampSystem& system, int showMessages, MakerWorkbook* workbook = nullptr);

/**
 * Finds or loads the system's lamp and writes its index, its description and,
 * unless the system has its own flux, the lamp's flux into the system; 1 when
 * the lamp is in the list afterwards.
 */
int resolveLamp(LuminaireLists& lists, CLampSystem& system, int showMessages, MakerWorkbook* workbook = nullptr);

/** Returns the loaded luminaire of a used-luminaire entry, or null when none is loaded. */
[[nodiscard]] const CLuminaire* findLuminaire(const std::vector<CLuminaire>& luminaires, const CLuminaireLamp& entry);

/** Returns the manufacturer name stored for a database number, or the number itself ("%ld"). */
[[nodiscard]] std::string manufacturerName(
    long number, const std::vector<std::string>& numbers, const std::vector<std::string>& names);

/** The sibling module's lamp list: key i ("database-catalogue id") belongs to name i. */
struct DadLampList {
    std::vector<std::string> keys;
    std::vector<std::string> names;
};

/** Profile-store section and value that hold the sibling module's folder. */
inline constexpr const char* kSiblingModuleSection = "Borva/Folder/Module";
inline constexpr const char* kSiblingModuleValue = "Path-1";

/**
 * Reads the sibling module's lamp list: the value LegLamps of the section
 * Settings in "<folder>/DAD/ROVO0015Rodo.ini", entries "name;key" separated
 * by blanks. No folder in the profile store, no file or no value give an
 * empty list; nothing is reported.
 */
[[nodiscard]] DadLampList loadDadLampList();

/** Parses a LegLamps value ("Downlight;15-1234 Reflektor;15-2001"). */
[[nodiscard]] DadLampList parseLegLamps(const std::string& value);

} // namespace kzev
