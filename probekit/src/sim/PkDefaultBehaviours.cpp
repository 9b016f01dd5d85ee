#include "PkDefaultBehaviours.h"

#include <QJsonDocument>

namespace {

// Durations in milliseconds at time scale 1. Question buttons are the
// program's codes (1 OK, 2 Cancel, 3 Yes, 4 No); messages are numbers of the
// program's catalogue (4 IS_100_LED_ON, 6 IS_1000_LED_ON, 8 IS_ACT_LED_ON,
// 12 IS_LINK_LED_ON, 14 IS_LINK_LED_OFF, 27 PLUG_CABLE, 28 LINK_MODE,
// 29 LINK_STATE, 45 LINK_UP).
const char *const defaultTable = R"json(
{
 "101": {"steps": [
    {"progress": 0, "ms": 150},
    {"progress": 40, "ms": 150, "stamped": "Register test: 64 registers written"},
    {"progress": 80, "ms": 150},
    {"progress": 100, "ms": 100, "stamped": "Register test: 64 registers checked"}]},
 "102": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 50, "ms": 200, "stamped": "PHY registers: 32 registers read"},
    {"progress": 100, "ms": 150, "stamped": "PHY identifier 0141:0CC2 confirmed"}]},
 "103": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 50, "ms": 150, "stamped": "MAC address registers: 16 entries written"},
    {"progress": 100, "ms": 150, "stamped": "MAC address registers: 16 entries read back"}]},
 "201": {"steps": [
    {"progress": 0, "ms": 200},
    {"progress": 35, "ms": 250, "stamped": "Packet buffer RAM: 96 KiB written"},
    {"progress": 70, "ms": 250},
    {"progress": 100, "ms": 150, "stamped": "Packet buffer RAM: 96 KiB checked, no errors"}]},
 "202": {"steps": [
    {"progress": 0, "ms": 150},
    {"progress": 50, "ms": 200, "stamped": "Descriptor RAM: 2048 descriptors written"},
    {"progress": 100, "ms": 150, "stamped": "Descriptor RAM: 2048 descriptors checked"}]},
 "203": {"steps": [
    {"progress": 0},
    {"progress": 16, "ms": 200, "stamped": "SRAM walk: pattern 0x00 passed"},
    {"progress": 33, "ms": 200, "stamped": "SRAM walk: pattern 0xFF passed"},
    {"progress": 50, "ms": 200, "stamped": "SRAM walk: pattern 0x55 passed"},
    {"progress": 66, "ms": 200, "stamped": "SRAM walk: pattern 0xAA passed"},
    {"progress": 83, "ms": 200, "stamped": "SRAM walk: pattern 0x33 passed"},
    {"progress": 100, "ms": 200, "stamped": "SRAM walk: pattern 0xCC passed"}]},
 "301": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 60, "ms": 250, "stamped": "Interrupt line: 10 interrupts raised"},
    {"progress": 100, "ms": 100, "stamped": "Interrupt line: 10 interrupts received"}]},
 "302": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 60, "ms": 200, "stamped": "MSI: 8 messages sent"},
    {"progress": 100, "ms": 100, "stamped": "MSI: 8 messages delivered"}]},
 "401": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 70, "ms": 200, "stamped": "EEPROM: 512 bytes read"},
    {"progress": 100, "ms": 100, "stamped": "EEPROM: checksum 0xBABA correct"}]},
 "402": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 50, "ms": 200, "stamped": "VPD area: read-only section checksum correct"},
    {"progress": 100, "ms": 100, "stamped": "VPD area: writable section intact"}]},
 "501": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "Link LED switched on"},
    {"progress": 50, "ms": 100, "ask": {"message": 12, "buttons": [3, 4, 0], "expect": 3}},
    {"ms": 100, "stamped": "Link LED switched off"},
    {"progress": 100, "ms": 100, "ask": {"message": 14, "buttons": [3, 4, 0], "expect": 3}}], "failText": "Link LED not confirmed"},
 "502": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "Activity LED switched on"},
    {"progress": 100, "ms": 200, "ask": {"message": 8, "buttons": [3, 4, 0], "expect": 3}}], "failText": "Activity LED not confirmed"},
 "503": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "1000 Mb/s LED switched on"},
    {"progress": 50, "ms": 150, "ask": {"message": 6, "buttons": [3, 4, 0], "expect": 3}},
    {"ms": 100, "stamped": "100 Mb/s LED switched on"},
    {"progress": 100, "ms": 150, "ask": {"message": 4, "buttons": [3, 4, 0], "expect": 3}}], "failText": "Speed LED not confirmed"},
 "601": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "MAC loopback: sending 1000 frames"},
    {"progress": 50, "ms": 300},
    {"progress": 100, "ms": 200, "stamped": "MAC loopback: 1000 frames received, no errors", "result": "1000 frames sent, 1000 received"}]},
 "602": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "PHY loopback: sending 1000 frames"},
    {"progress": 50, "ms": 350},
    {"progress": 100, "ms": 250, "stamped": "PHY loopback: 1000 frames received, no errors", "result": "1000 frames sent, 1000 received"}]},
 "603": {"steps": [
    {"progress": 0, "ask": {"message": 27, "buttons": [1, 2, 0], "expect": 1}},
    {"progress": 10, "ms": 200, "stamped": "External loopback: sending 500 frames"},
    {"progress": 60, "ms": 300},
    {"progress": 100, "ms": 200, "stamped": "External loopback: 500 frames received, no errors", "result": "500 frames sent, 500 received"}], "failText": "Loopback cable not plugged"},
 "701": {"steps": [
    {"progress": 0, "ms": 200, "stamped": "Link: waiting for link partner"},
    {"progress": 50, "ms": 300, "cell": [{"row": 0, "column": 0, "message": 29}, {"row": 0, "column": 1, "message": 45}]},
    {"progress": 100, "ms": 150, "cell": [{"row": 1, "column": 0, "message": 28}, {"row": 1, "column": 1, "text": "1000 Mb/s full duplex"}], "stamped": "Link: up at 1000 Mb/s full duplex"}]},
 "702": {"steps": [
    {"progress": 0, "ms": 200, "stamped": "Auto-negotiation: restarted"},
    {"progress": 60, "ms": 400},
    {"progress": 100, "ms": 200, "stamped": "Auto-negotiation: complete, partner advertises 1000 Mb/s full duplex", "cell": [{"row": 0, "column": 0, "message": 28}, {"row": 0, "column": 1, "text": "1000 Mb/s full duplex"}]}]},
 "703": {"steps": [
    {"progress": 0, "stamped": "Cable diagnostics: measuring four pairs"},
    {"progress": 5, "ms": 200},
    {"progress": 10, "ms": 200},
    {"progress": 15, "ms": 200},
    {"progress": 20, "ms": 200},
    {"progress": 25, "ms": 200, "stamped": "Cable diagnostics: pair A good, length 3 m"},
    {"progress": 30, "ms": 200},
    {"progress": 35, "ms": 200},
    {"progress": 40, "ms": 200},
    {"progress": 45, "ms": 200},
    {"progress": 50, "ms": 200, "stamped": "Cable diagnostics: pair B good, length 3 m"},
    {"progress": 55, "ms": 200},
    {"progress": 60, "ms": 200},
    {"progress": 65, "ms": 200},
    {"progress": 70, "ms": 200},
    {"progress": 75, "ms": 200, "stamped": "Cable diagnostics: pair C good, length 3 m"},
    {"progress": 80, "ms": 200},
    {"progress": 85, "ms": 200},
    {"progress": 90, "ms": 200},
    {"progress": 95, "ms": 200},
    {"progress": 100, "ms": 200, "stamped": "Cable diagnostics: pair D good, length 3 m", "result": "Cable good, length 3 m"}]},
 "704": {"steps": [
    {"progress": 0, "ms": 100, "stamped": "Link stability: watching the link"},
    {"progress": 30, "ms": 300},
    {"progress": 60, "ms": 300},
    {"progress": 100, "ms": 200, "stamped": "Link stability: no link changes", "result": "No link changes"}], "failRate": 0.2, "seed": 7, "failText": "Link lost once while watching"},
 "801": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 50, "ms": 300, "stamped": "Flash PROM: 128 KiB read back"},
    {"progress": 100, "ms": 150, "stamped": "Flash PROM: checksum matches"}]},
 "802": {"steps": [
    {"progress": 0, "ms": 100},
    {"progress": 40, "ms": 300, "stamped": "Flash PROM: scratch sector erased"},
    {"progress": 80, "ms": 300, "stamped": "Flash PROM: scratch sector programmed"},
    {"progress": 100, "ms": 150, "stamped": "Flash PROM: scratch sector verified"}]}
}
)json";

} // namespace

const QJsonObject &PkDefaultBehaviours::table()
{
    static const QJsonObject parsed = parse();
    return parsed;
}

QJsonObject PkDefaultBehaviours::parse()
{
    return QJsonDocument::fromJson(QByteArray(defaultTable)).object();
}
