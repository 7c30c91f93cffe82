# Writes the header that holds the day of the build. Run at every build; the
# header changes, and the about box is compiled again, only when the day does.
# SOURCE_DATE_EPOCH, when set, stands in for the clock, so a package built twice
# from the same source is the same.
string(TIMESTAMP build_date "%Y-%m-%d" UTC)
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "#define VANTREL_BUILD_DATE \"${build_date}\"\n")
