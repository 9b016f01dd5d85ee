#include "TvLanguageTable.h"

namespace {

struct LanguageRow {
    const char *displayName;  // not read by the program
    const char *code;
    quint32 lcid;
};

// 133 rows and the terminating row of zeros.
const LanguageRow languageTable[] = {
    {"af", "af", 0x436},
    {"sq", "sq", 0x41C},
    {"Arabic (DZ)", "ar_dz", 0x1401},
    {"Arabic (BH)", "ar_bh", 0x3C01},
    {"Arabic (EG)", "ar_eg", 0xC01},
    {"Arabic (IQ)", "ar_iq", 0x801},
    {"Arabic (JO)", "ar_jo", 0x2C01},
    {"Arabic (KW)", "ar_kw", 0x3401},
    {"Arabic (LB)", "ar_lb", 0x3001},
    {"Arabic (LY)", "ar_ly", 0x1001},
    {"Arabic (MA)", "ar_ma", 0x1801},
    {"Arabic (OM)", "ar_om", 0x2001},
    {"Arabic (QA)", "ar_qa", 0x4001},
    {"Arabic (SA)", "ar_sa", 0x401},
    {"Arabic (SY)", "ar_sy", 0x2801},
    {"Arabic (TN)", "ar_tn", 0x1C01},
    {"Arabic (YE)", "ar_ye", 0x2401},
    {"Arabic (AE)", "ar_ae", 0x3801},
    {"hy", "hy", 0x42B},
    {"Azeri (CY)", "az_cy", 0x82C},
    {"Azeri (LT)", "az_lt", 0x42C},
    {"eu", "eu", 0x42D},
    {"be", "be", 0x423},
    {"bg", "bg", 0x402},
    {"ca", "ca", 0x403},
    {"Chinese (CN)", "zh_cn", 0x804},
    {"Chinese (HK)", "zh_hk", 0xC04},
    {"Chinese (SG)", "zh_sg", 0x1004},
    {"Chinese (TW)", "zh_tw", 0x404},
    {"Chinese (MO)", "zh_mo", 0x1404},
    {"hr", "hr", 0x41A},
    {"cs", "cs", 0x405},
    {"da", "da", 0x406},
    {"Dutch (BE)", "nl_be", 0x813},
    {"Dutch (NL)", "nl_nl", 0x413},
    {"English (AU)", "en_au", 0xC09},
    {"English (BZ)", "en_bz", 0x2809},
    {"English (CA)", "en_ca", 0x1009},
    {"English (IE)", "en_ie", 0x1809},
    {"English (JM)", "en_jm", 0x2009},
    {"English (NZ)", "en_nz", 0x1409},
    {"English (ZA)", "en_za", 0x1C09},
    {"English (TT)", "en_tt", 0x2C09},
    {"English (GB)", "en_gb", 0x809},
    {"English (US)", "en_us", 0x409},
    {"English (CB)", "en_cb", 0x2409},
    {"English (PH)", "en_ph", 0x3409},
    {"et", "et", 0x425},
    {"fo", "fo", 0x438},
    {"fa", "fa", 0x429},
    {"fi", "fi", 0x40B},
    {"French (BE)", "fr_be", 0x80C},
    {"French (CA)", "fr_ca", 0xC0C},
    {"French (FR)", "fr_fr", 0x40C},
    {"French (LU)", "fr_lu", 0x140C},
    {"French (CH)", "fr_ch", 0x100C},
    {"mk", "mk", 0x42F},
    {"Gaelic", "gd", 0x43C},
    {"Gaelic (IE)", "gd_ie", 0x83C},
    {"German (AT)", "de_at", 0xC07},
    {"German (DE)", "de_de", 0x407},
    {"German (LI)", "de_li", 0x1407},
    {"German (LU)", "de_lu", 0x1007},
    {"German (CH)", "de_ch", 0x807},
    {"el", "el", 0x408},
    {"he", "he", 0x40D},
    {"hi", "hi", 0x439},
    {"hu", "hu", 0x40E},
    {"is", "is", 0x40F},
    {"id", "id", 0x421},
    {"Italian (IT)", "it_it", 0x410},
    {"Italian (CH)", "it_ch", 0x810},
    {"ja", "ja", 0x411},
    {"ko", "ko", 0x412},
    {"lv", "lv", 0x426},
    {"lt", "lt", 0x427},
    {"Malay (MY)", "ms_my", 0x43E},
    {"Malay (BN)", "ms_bn", 0x83E},
    {"mt", "mt", 0x43A},
    {"mr", "mr", 0x44E},
    {"Norwegian (BO)", "no_bo", 0x414},
    {"Norwegian (NO)", "no_no", 0x814},
    {"pl", "pl", 0x415},
    {"Portuguese (BR)", "pt_br", 0x416},
    {"Portuguese (PT)", "pt_pt", 0x816},
    {"rm", "rm", 0x417},
    {"Romanian (MO)", "ro_mo", 0x818},
    {"Romanian", "ro", 0x418},
    {"Russian (MO)", "ru_mo", 0x819},
    {"Russian", "ru", 0x419},
    {"sa", "sa", 0x44F},
    {"Serbian (SP)", "sr_sp", 0xC1A},
    {"Serbian (SP)", "sr_sp", 0x81A},
    {"tn", "tn", 0x432},
    {"sk", "sk", 0x41B},
    {"sl", "sl", 0x424},
    {"sb", "sb", 0x42E},
    {"Spanish (AR)", "es_ar", 0x2C0A},
    {"Spanish (BO)", "es_bo", 0x400A},
    {"Spanish (CL)", "es_cl", 0x340A},
    {"Spanish (CO)", "es_co", 0x240A},
    {"Spanish (CR)", "es_cr", 0x140A},
    {"Spanish (DO)", "es_do", 0x1C0A},
    {"Spanish (EC)", "es_ec", 0x300A},
    {"Spanish (SV)", "es_sv", 0x440A},
    {"Spanish (GT)", "es_gt", 0x100A},
    {"Spanish (HN)", "es_hn", 0x480A},
    {"Spanish (MX)", "es_mx", 0x80A},
    {"Spanish (NI)", "es_ni", 0x4C0A},
    {"Spanish (PA)", "es_pa", 0x180A},
    {"Spanish (PY)", "es_py", 0x3C0A},
    {"Spanish (PE)", "es_pe", 0x280A},
    {"Spanish (PR)", "es_pr", 0x500A},
    {"Spanish (ES)", "es_es", 0x40A},
    {"Spanish (UY)", "es_uy", 0x380A},
    {"Spanish (VE)", "es_ve", 0x200A},
    {"sx", "sx", 0x430},
    {"sw", "sw", 0x441},
    {"Swedish (FI)", "sv_fi", 0x81D},
    {"Swedish (SE)", "sv_se", 0x41D},
    {"ta", "ta", 0x449},
    {"tt", "tt", 0x444},
    {"th", "th", 0x41E},
    {"ts", "ts", 0x431},
    {"tr", "tr", 0x41F},
    {"uk", "uk", 0x422},
    {"ur", "ur", 0x420},
    {"Uzbek (CY)", "uz_cy", 0x843},
    {"Uzbek (LT)", "uz_lt", 0x443},
    {"vi", "vi", 0x42A},
    {"xh", "xh", 0x434},
    {"yi", "yi", 0x43D},
    {"zu", "zu", 0x435},
    {nullptr, nullptr, 0},
};

} // namespace

QString TvLanguageTable::lookupLanguageCode(quint32 lcid)
{
    for (const LanguageRow *row = languageTable; row->code; ++row) {
        if (row->lcid == lcid)
            return QString::fromLatin1(row->code);
    }
    return QString();
}

quint32 TvLanguageTable::localeIdOf(const QString &code)
{
    for (const LanguageRow *row = languageTable; row->code; ++row) {
        if (code == QLatin1String(row->code))
            return row->lcid;
    }
    return 0;
}

int TvLanguageTable::rowCount()
{
    return int(sizeof(languageTable) / sizeof(languageTable[0])) - 1;
}
