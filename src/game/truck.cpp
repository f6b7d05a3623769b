// The truck driving the road in the truck stages.
