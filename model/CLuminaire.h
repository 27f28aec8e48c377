#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/**
 * One luminaire type of a maker's database: its catalogue data and its
 * photometry, the intensities I(C, gamma) for C = 0..360 and gamma = 0..180
 * in 1-degree steps (candela per 1000 lumen of lamp flux, with the decimals
 * the maker's data give, row 360 equal to row 0), with the luminances at gamma 45..85 degrees in the
 * planes C0 and C90. Never stored in a project: it is loaded again from the
 * maker's workbook by its identity pair (record number, database number).
 */
class MakerWorkbook;

class CLuminaire {
public:
    static constexpr int kPlanes = 361;
    /** Side of the square luminous area that stands for a point source (no luminous dimensions), metres. */
    static constexpr double kPointSourceSide = 0.01;
    static constexpr int kGammas = 181;
    /** The maintenance table (ZEV_Z.dat) knows the luminaire maintenance categories 1 to this. */
    static constexpr std::int32_t kMaintenanceCategories = 6;

    CLuminaire();
    /**
     * Returns a luminaire to be loaded, without the cleared table of a new
     * one: it holds a table only once LoadFromDataFile returned 1, and is
     * read only then.
     */
    [[nodiscard]] static CLuminaire forLoading() { return CLuminaire(WithoutTable {}); }
    CLuminaire(const CLuminaire&) = default;
    CLuminaire(CLuminaire&&) noexcept = default;
    /** Copies every field except the intensity factor, which was applied to this table already. */
    CLuminaire& operator=(const CLuminaire& other);

    /** "Věta": first half of the identity pair. */
    std::int32_t m_recordNumber = -1;
    std::string m_type;
    std::string m_name;
    /** "Krytí": a text beginning with "I", or a bare number. */
    std::string m_protection;
    /** CAD block name; resolution puts the document's block prefix in front. */
    std::string m_block;
    /**
     * Length, width, height in metres, for drawing: a width or height the
     * maker's data leave at 0 is the length here (see m_shape).
     */
    std::array<double, 3> m_overallDimensions {};
    /** Length, width, height in metres as the maker's workbook holds them: 0 where it gives none. */
    std::array<double, 3> m_catalogueDimensions {};
    /**
     * Length, width, height of the luminous area in metres, as the maker's data
     * give them: a width of 0 is a round area (a disc, or an upright cylinder
     * of that height) of the length as diameter. Passes that need a width make
     * their own copy of it.
     */
    std::array<double, 3> m_luminousDimensions {};
    std::string m_lampDesignation;
    std::int32_t m_lampSubgroup = 0;
    std::int32_t m_numberOfLamps = 0;
    /** Watts per lamp; the luminaire's power shared by its lamps need not be whole. */
    double m_lampPower = 0.0;
    /** Catalogued light output ratio, per cent, with the decimals the maker's data give. */
    double m_efficiency = 0.0;
    /** Number of the maker's workbook: second half of the identity pair. */
    std::int32_t m_databaseNumber = 0;
    /** Entry C x 181 + gamma, cd/klm with decimals. */
    std::vector<double> m_intensity;
    double m_maxIntensity = 0.0;
    /**
     * The gammas the maker's photometry covers (degrees); the luminaire gives
     * no light outside them, also within the table's last degree.
     */
    double m_firstGamma = 0.0;
    double m_lastGamma = 180.0;
    /** Luminances in C0 (first five) and C90 (last five) at gamma 45, 55, 65, 75, 85. */
    std::array<std::int32_t, 10> m_luminance {};
    /** 0 none, 1 rotational, 2 about the C0-C180 plane, 3 about the C90-C270 plane, 4 about both. */
    std::int32_t m_symmetry = 0;
    std::int32_t m_maintenanceCategory = 0;
    std::array<std::int32_t, 2> m_shieldingAngles {};
    /** 1 once a luminance was computed from the intensities rather than read. */
    std::int32_t m_luminancesComputed = 0;
    /** 0 all three overall dimensions given, 1 width missing, 2 width and height missing. */
    std::int32_t m_shape = 0;
    /** Name in the sibling module's lamp list, filled on resolution. */
    std::string m_legendName;
    /** "Divez": the catalogue id by which CAD blocks name the luminaire. */
    std::int32_t m_catalogueId = 0;
    double m_cPlaneSpacing = 30.0;
    double m_gammaSpacing = 5.0;
    std::string m_picture;
    /** "Prepocet": factor applied to every stored intensity while loading. */
    double m_intensityFactor = 1.0;

    /**
     * Loads the luminaire from its maker's workbook; 1 when it was read
     * completely. On 0 the object is left as it was. With showMessages 0 no
     * message box appears for any failure.
     */
    int LoadFromDataFile(long databaseNumber, long recordNumber, int showMessages);
    /** The same, from the maker's workbook the caller keeps open for several records. */
    int LoadFromDataFile(MakerWorkbook& workbook, long databaseNumber, long recordNumber, int showMessages);
    /**
     * Returns the intensity at (C, gamma) in degrees, bilinear in the table; a gamma
     * within a thousandth of a degree of a whole one reads that degree's row. Outside
     * the covered gammas (by more than that thousandth) it is 0; between a covered end
     * off a whole degree and the whole degree within, that degree's row holds.
     */
    [[nodiscard]] double GetIntensity(double c, double gamma) const;
    /**
     * Brings angles from outside the table into it as GetIntensity reads them: C to 0 up to
     * (not reaching) 360, a C that is no number to 0, gamma to 0..180.
     */
    static void BringIntoTable(double& c, double& gamma);
    /** A gamma counts as at a covered end when it lies this close to it. */
    static constexpr double kGammaSlack = 0.001;
    /**
     * Brings a gamma already in 0..180 to what the table reads within the covered
     * gammas first..last; false when it lies outside them (no light).
     */
    static bool HoldWithinCovered(double& gamma, double first, double last);
    /** Returns the light output ratio in per cent computed from the table. */
    [[nodiscard]] double ComputeFlux() const;
    /** Returns "type,name,IP54,2x36W,65%". */
    [[nodiscard]] std::string GetDescription() const;
    /**
     * Returns the record number of the luminaire whose "Divez" is the
     * catalogue id; 0 on failure (reported always), -1 when the record has no
     * readable "Věta".
     */
    static long GetRecordNumber(long databaseNumber, long catalogueId);

    /** The intensity table entry at whole angles. */
    [[nodiscard]] double at(int c, int gamma) const
    {
        return m_intensity[static_cast<std::size_t>(c) * kGammas + static_cast<std::size_t>(gamma)];
    }

private:
    struct WithoutTable {};
    /** A luminaire being loaded: its table comes from the sheet, so none is made (and cleared) first. */
    explicit CLuminaire(WithoutTable) {}
};

namespace kzev {

/** Returns the protection as printed: unchanged when it begins with "I", else "IP%ld" of its number. */
[[nodiscard]] std::string protectionText(const std::string& protection);

} // namespace kzev
