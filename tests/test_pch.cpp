// Gives the precompiled headers every test shares a target to be built with.
