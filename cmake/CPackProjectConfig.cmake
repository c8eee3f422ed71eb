# SPDX-License-Identifier: GPL-3.0-or-later
# Read by CPack once per generator: tells the install step which package it fills
# (cmake/Packaging.cmake puts the licence text into an RPM only).
set(ENV{QZM_CPACK_GENERATOR} "${CPACK_GENERATOR}")
