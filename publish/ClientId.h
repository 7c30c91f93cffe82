#pragma once

// The MQTT client id. A broker drops a connection when another client comes with
// the same id, so two rigs with one station name (say two copies of a set-up in
// different folders) would knock each other off about once a second. The id adds
// a short hash of the start folder: the same in every run from that folder, so the
// broker still sees one client that comes back.

#include <string>

namespace vantrel::publish {

// "vantrel-<station>-<8 hex digits of the 32-bit FNV-1a hash of startFolder>"
std::string ClientId(const std::string& station, const std::string& startFolder);

}  // namespace vantrel::publish
