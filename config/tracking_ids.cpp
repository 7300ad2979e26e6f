#include "config/tracking_ids.h"

int Tid1 = 0;
int Tid2 = 0;

bool IsValidTrackingPair(int tid1, int tid2) {
    return tid1 != 0 && tid2 != 0 && tid1 <= 500000 && tid2 <= 500000;
}
