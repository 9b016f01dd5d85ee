#include "TvCoreCatalogue.h"

namespace {

struct CatalogueRow {
    int number;
    const char *key;
};

const CatalogueRow catalogue[] = {
    {0, "CONFIRM_LOOP"},
    {1, "CONFIRM_LINK"},
    {2, "IS_10_LED_ON"},
    {3, "IS_10_LED_OFF"},
    {4, "IS_100_LED_ON"},
    {5, "IS_100_LED_OFF"},
    {6, "IS_1000_LED_ON"},
    {7, "IS_1000_LED_OFF"},
    {8, "IS_ACT_LED_ON"},
    {9, "IS_ACT_LED_OFF"},
    {10, "IS_DUP_LED_ON"},
    {11, "IS_DUP_LED_OFF"},
    {12, "IS_LINK_LED_ON"},
    {13, "IS_LINK_LED_BLINK"},
    {14, "IS_LINK_LED_OFF"},
    {15, "IS_TX_LED_ON"},
    {16, "IS_TX_LED_OFF"},
    {17, "IS_RX_LED_ON"},
    {18, "IS_RX_LED_OFF"},
    {19, "IS_STAT_LED_ON"},
    {20, "IS_STAT_LED_OFF"},
    {21, "LINK DOWN!"},
    {22, "READY_FOR_MAGIC"},
    {23, "MAGIC_IS_SENT"},
    {24, "CHECK_LINK"},
    {25, "REMOVE_CABLE"},
    {26, "REMOVE_AND_PLUG "},
    {27, "PLUG_CABLE"},
    {28, "LINK_MODE"},
    {29, "LINK_STATE"},
    {30, "LINK_MASTER_SLAVE"},
    {31, "LINK_ESTIMATE"},
    {32, "LINK_CHANGES"},
    {33, "FALSE_CARRIER"},
    {34, "FCS_ERRORS"},
    {35, "FRAMES_RECEIVED"},
    {36, "FRAMES_TRANSMITTED"},
    {37, "PAUSE_RECEIVED"},
    {38, "PAUSE_TRANSMITTED"},
    {39, "RECEIVE_OVERFLOWS"},
    {40, "NO_LINK"},
    {41, "NOT_ACTIVE"},
    {42, "NOT_SUPPORTED"},
    {43, "ROLE_MASTER"},
    {44, "ROLE_SLAVE"},
    {45, "LINK_UP"},
    {46, "LINK_DOWN"},
    {47, "NUMBER_OF_BUFFERS"},
    {48, "RX_PACKET_SIZE"},
    {49, "RX_SHORT_EVENT"},
    {50, "DELTA_COUNTER"},
    {51, "COMM_FAILURE"},
};

// Questions a core working on real hardware asks before it does something
// that cannot be taken back; numbered apart from the 52 catalogue rows.
const CatalogueRow confirmations[] = {
    {100, "CONFIRM_OFFLINE_TEST"},
    {101, "CONFIRM_HARDWARE_WRITE"},
    {102, "IS_LOCATE_LED_BLINKING"},
};

} // namespace

QString TvCoreCatalogue::coreMessageKey(int number)
{
    for (const CatalogueRow &row : catalogue) {
        if (row.number == number)
            return QString::fromLatin1(row.key);
    }
    for (const CatalogueRow &row : confirmations) {
        if (row.number == number)
            return QString::fromLatin1(row.key);
    }
    return QStringLiteral("Message %1 not found").arg(number);
}

int TvCoreCatalogue::size()
{
    return int(sizeof(catalogue) / sizeof(catalogue[0]));
}
