// combat
