// Replaced when the first form lands.
