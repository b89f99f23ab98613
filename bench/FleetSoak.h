#pragma once

namespace ombrel::bench {

/// Watches a folder collected from machines (10 000 entries shown) while 1 000 entries a second
/// arrive spread over them, for minutes; prints the resident memory above an idle window each
/// minute. 0 when it stayed flat and within 60 MB of the idle window.
int fleetSoak(int minutes, int machines);

} // namespace ombrel::bench
