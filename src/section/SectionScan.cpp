#include "section/SeismicSection.h"

int SeismicSection::Scan() { return 0; }
