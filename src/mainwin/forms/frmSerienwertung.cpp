#include "mainwin/forms/frmSerienwertung.h"
