// placeholder until the core lands
